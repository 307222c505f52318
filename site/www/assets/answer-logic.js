// Reads an answer code and judges its grid against the fifteen clues. No DOM here:
// the page and the node tests share this file. A classic script, not a module,
// because browsers refuse modules on file:// and the page must work offline.
(function (root) {
  "use strict";

  var ROWS = 5;
  var HOUSES = 5;
  var COLOR = 0, PET = 1, DRINK = 2, NATIONALITY = 3, SMOKE = 4;
  // Option positions, the same in both languages (the game's option tables).
  var RED = 0, GREEN = 1, WHITE = 2, YELLOW = 3, BLUE = 4;
  var DOG = 0, CAT = 1, HORSE = 2, BIRD = 3, FISH = 4;
  var WATER = 0, COFFEE = 1, TEA = 2, MILK = 3, BEER = 4;
  var GERMAN = 0, SWEDISH = 1, NORWEGIAN = 2, DANISH = 3, BRITISH = 4;
  var PALL_MALL = 0, DUNHILL = 1, BLUEMASTER = 2, PRINCE = 3, BLEND = 4;

  // The code is 25 two-character indexes in grid order and ten dashes (60
  // characters), with the age and the counter set in. Dashes close these groups
  // before the age, and the groups after it.
  var GROUPS_BEFORE_AGE = [3, 3, 4, 4, 3, 3, 1];
  var GROUPS_AFTER_AGE = [3, 1];
  var FIXED_LENGTH = 60;
  var SHORTEST_COUNTER = 2; // " 0"
  var BEFORE_AGE_LENGTH = 49; // 21 indexes and 7 dashes
  var AFTER_AGE_LENGTH = 11; // "-", 3 indexes, "-", 1 index, "-" before the counter's space
  var LARGEST_COUNTER = 9223372036854775807n; // the game counts in 64 bits

  // The index a two-character piece stands for: " 0" to " 4", or "-1" for an
  // unchosen list; null for anything else.
  function pieceIndex(piece) {
    if (piece === "-1") return -1;
    if (piece.length === 2 && piece[0] === " " && piece[1] >= "0" && piece[1] <= "4") {
      return piece.charCodeAt(1) - 48;
    }
    return null;
  }

  // A pasted code without the white space around it. The first piece may itself
  // start with a space (" 3"), so a digit left in front gets its space back.
  // trim() rather than /\s+$/, which takes quadratic time on a long inner run of
  // spaces and would hang the page on a hostile paste.
  function tidy(text) {
    var code = String(text).trim();
    return /^[0-9]/.test(code) ? " " + code : code;
  }

  // A piece of pasted text short enough to quote in a message.
  function quoted(text) {
    return text.length > 24 ? text.slice(0, 20) + "…" : text;
  }

  function fail(kind, details) {
    var error = { kind: kind };
    for (var key in details) error[key] = details[key];
    return { ok: false, error: error };
  }

  // h:mm:ss of a count of seconds given as a BigInt.
  function clockText(seconds) {
    var hours = seconds / 3600n;
    var minutes = (seconds / 60n) % 60n;
    var rest = seconds % 60n;
    var two = function (n) { return (n < 10n ? "0" : "") + n.toString(); };
    return hours.toString() + ":" + two(minutes) + ":" + two(rest);
  }

  // Decodes a code as pasted. On success: { ok: true, grid (25 indexes in grid
  // order, -1 where unchosen), age (text), seconds (BigInt), clock ("h:mm:ss") }.
  // Otherwise { ok: false, error: { kind, ... } } saying what is wrong.
  function decode(text) {
    var code = tidy(text);
    if (code === "") return fail("empty", {});
    if (code.length < FIXED_LENGTH + SHORTEST_COUNTER) {
      return fail("tooShort", { length: code.length, needed: FIXED_LENGTH + SHORTEST_COUNTER });
    }
    var grid = [];
    // Reads the groups from `at` on, each closed by a dash; returns where it stopped.
    function readGroups(groups, at) {
      for (var g = 0; g < groups.length; g++) {
        for (var p = 0; p < groups[g]; p++) {
          var piece = code.substr(at, 2);
          var index = pieceIndex(piece);
          if (index === null) {
            return fail("notIndex", { position: grid.length, at: at + 1, piece: piece });
          }
          grid.push(index);
          at += 2;
        }
        if (code[at] !== "-") return fail("noDash", { at: at + 1, found: code[at] });
        at += 1;
      }
      return at;
    }
    var stop = readGroups(GROUPS_BEFORE_AGE, 0);
    if (typeof stop !== "number") return stop;

    // The counter is the last piece and its number text is the only one without
    // a dash before its digits, so the last space starts it.
    var space = code.lastIndexOf(" ");
    var counterText = code.slice(space + 1);
    if (space < BEFORE_AGE_LENGTH + AFTER_AGE_LENGTH) {
      return fail("noCounter", {});
    }
    if (!/^[0-9]+$/.test(counterText)) {
      return fail("counterNotNumber", { counter: quoted(counterText) });
    }
    // Compared by length first: a megabyte of digits is slow to make a BigInt of.
    var digits = counterText.replace(/^0+(?=[0-9])/, "");
    if (digits.length > 19 || BigInt(digits) > LARGEST_COUNTER) {
      return fail("counterTooLarge", { counter: quoted(counterText) });
    }
    var seconds = BigInt(digits);

    var ageEnd = space - AFTER_AGE_LENGTH;
    if (code[ageEnd] !== "-") return fail("noDash", { at: ageEnd + 1, found: code[ageEnd] });
    stop = readGroups(GROUPS_AFTER_AGE, ageEnd + 1);
    if (typeof stop !== "number") return stop;
    return {
      ok: true,
      grid: grid,
      age: code.slice(BEFORE_AGE_LENGTH, ageEnd),
      seconds: seconds,
      clock: clockText(seconds),
    };
  }

  // The house (1 to 5) whose list in `row` holds `option`, when exactly one does;
  // otherwise null, and clues about that option cannot be checked.
  function locate(grid, row, option) {
    var found = null;
    for (var house = 1; house <= HOUSES; house++) {
      if (grid[row * HOUSES + house - 1] !== option) continue;
      if (found !== null) return null;
      found = house;
    }
    return found;
  }

  // Ways to read clue 4, "to the left of". On the English pane house 1 is the
  // leftmost column, on the Arabic pane the rightmost.
  var CLUE4_READINGS = {
    // Directly to the left, house 1 on the left: the classic reading.
    houseNumber: function (green, white) { return green === white - 1; },
    // Anywhere to the left, house 1 on the left.
    anywhere: function (green, white) { return green < white; },
    // Directly to the left as the Arabic pane shows it, house 1 on the right.
    mirrored: function (green, white) { return green === white + 1; },
    // The page's reading: directly to the left, as either pane shows it.
    accepted: function (green, white) { return Math.abs(green - white) === 1; },
  };

  function same(a, b) { return a === b; }
  function nextTo(a, b) { return Math.abs(a - b) === 1; }

  // Ways to read clue 15. The English pane says the Blend smoker has a neighbour
  // who drinks water; the Arabic pane's words say the smoker drinks it himself.
  var CLUE15_READINGS = { nextDoor: nextTo, sameHouse: same };

  // Clue number 1 to 15, as [row, option] pairs and how their houses relate.
  function clueTable(clue4, clue15) {
    return [
      [[NATIONALITY, BRITISH], [COLOR, RED], same],
      [[NATIONALITY, SWEDISH], [PET, DOG], same],
      [[NATIONALITY, DANISH], [DRINK, TEA], same],
      [[COLOR, GREEN], [COLOR, WHITE], clue4],
      [[COLOR, GREEN], [DRINK, COFFEE], same],
      [[SMOKE, PALL_MALL], [PET, BIRD], same],
      [[COLOR, YELLOW], [SMOKE, DUNHILL], same],
      [[DRINK, MILK], 3, same], // the middle house
      [[NATIONALITY, NORWEGIAN], 1, same], // the first house
      [[SMOKE, BLEND], [PET, CAT], nextTo],
      [[PET, HORSE], [SMOKE, DUNHILL], nextTo],
      [[SMOKE, BLUEMASTER], [DRINK, BEER], same],
      [[NATIONALITY, GERMAN], [SMOKE, PRINCE], same],
      [[NATIONALITY, NORWEGIAN], [COLOR, BLUE], nextTo],
      [[SMOKE, BLEND], [DRINK, WATER], clue15],
    ];
  }
  var CLUE_TABLES = {};
  for (var reading4 in CLUE4_READINGS) {
    for (var reading15 in CLUE15_READINGS) {
      CLUE_TABLES[reading4 + "/" + reading15] =
        clueTable(CLUE4_READINGS[reading4], CLUE15_READINGS[reading15]);
    }
  }

  // Whether each clue holds on the grid: true, false, or null when an option it
  // names is not chosen in exactly one house. The page reads clue 4 as
  // "accepted" and clue 15 as "nextDoor".
  function clueStates(grid, reading, clue15) {
    var table = CLUE_TABLES[(reading || "accepted") + "/" + (clue15 || "nextDoor")];
    if (!table) throw new Error("unknown reading: " + reading + ", " + clue15);
    return table.map(function (clue) {
      var a = locate(grid, clue[0][0], clue[0][1]);
      var b = typeof clue[1] === "number" ? clue[1] : locate(grid, clue[1][0], clue[1][1]);
      return a === null || b === null ? null : clue[2](a, b);
    });
  }

  // What keeps each row from using each option once: houses with no choice, and
  // options chosen in more than one house. Rows without a problem are left out.
  function rowProblems(grid) {
    var problems = [];
    for (var row = 0; row < ROWS; row++) {
      var unchosen = [];
      var houses = [[], [], [], [], []];
      for (var house = 1; house <= HOUSES; house++) {
        var index = grid[row * HOUSES + house - 1];
        if (index === -1) unchosen.push(house);
        else houses[index].push(house);
      }
      var repeated = [];
      houses.forEach(function (list, option) {
        if (list.length > 1) repeated.push({ option: option, houses: list });
      });
      if (unchosen.length || repeated.length) {
        problems.push({ row: row, unchosen: unchosen, repeated: repeated });
      }
    }
    return problems;
  }

  // The verdict on a decoded grid. solved: every row uses each option once and
  // every clue holds under the page's reading of clue 4. failing and open list
  // clue numbers (1 to 15). nearMiss: only clue 4 fails, and it holds when read
  // as "anywhere to the left". fishHouse: the fish's house, when one holds it.
  function judge(grid, reading) {
    var states = clueStates(grid, reading);
    var failing = [], open = [];
    states.forEach(function (state, i) {
      if (state === false) failing.push(i + 1);
      if (state === null) open.push(i + 1);
    });
    var rows = rowProblems(grid);
    var solved = rows.length === 0 && failing.length === 0 && open.length === 0;
    var nearMiss = rows.length === 0 && failing.length === 1 && failing[0] === 4 &&
      clueStates(grid, "anywhere").every(function (state) { return state === true; });
    return {
      solved: solved,
      rows: rows,
      failing: failing,
      open: open,
      nearMiss: nearMiss,
      fishHouse: locate(grid, PET, FISH),
    };
  }

  var api = {
    decode: decode,
    judge: judge,
    clueStates: clueStates,
    readings: Object.keys(CLUE4_READINGS),
    NATIONALITY: NATIONALITY,
    PET: PET,
    FISH: FISH,
  };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.MindlarkAnswer = api;
})(this);
