// Reads an answer code and judges its grid against the fifteen clues. No DOM here:
// the page and the node tests share this file. A classic script, not a module,
// because browsers refuse modules on file:// and the page must work offline.
(function (root) {
  "use strict";

  // The game's own tables: the page loads riddle-data.js before this script.
  var riddle = typeof module === "object" && module.exports ? require("./riddle-data.js")
    : root.MindlarkRiddle;

  var ROWS = 5;
  var HOUSES = 5;
  var COLOR = 0, PET = 1, DRINK = 2, NATIONALITY = 3, SMOKE = 4;
  // An option's position, the same in both languages, is where the game's English
  // option table has it. An option the table no longer has stops the page here,
  // instead of letting it judge clues by a wrong position.
  function option(row, english) {
    var position = riddle.en.options[row].indexOf(english);
    if (position < 0) throw new Error("the game has no option " + english);
    return position;
  }
  var RED = option(COLOR, "Red"), GREEN = option(COLOR, "Green"), WHITE = option(COLOR, "White"),
    YELLOW = option(COLOR, "Yellow"), BLUE = option(COLOR, "Blue");
  var DOG = option(PET, "Dog"), CAT = option(PET, "Cat"), HORSE = option(PET, "Horse"),
    BIRD = option(PET, "Bird"), FISH = option(PET, "{Fish}");
  var WATER = option(DRINK, "Water"), COFFEE = option(DRINK, "Coffee"), TEA = option(DRINK, "Tea"),
    MILK = option(DRINK, "Milk"), BEER = option(DRINK, "Beer");
  var GERMAN = option(NATIONALITY, "German"), SWEDISH = option(NATIONALITY, "Swedish"),
    NORWEGIAN = option(NATIONALITY, "Norwegian"), DANISH = option(NATIONALITY, "Danish"),
    BRITISH = option(NATIONALITY, "British");
  var PALL_MALL = option(SMOKE, "Pall Mall"), DUNHILL = option(SMOKE, "Dunhill"),
    BLUEMASTER = option(SMOKE, "Bluemaster"), PRINCE = option(SMOKE, "Prince"),
    BLEND = option(SMOKE, "Blend");

  // Mail and chat mangle a pasted code: they break its line, quote it ("> "), put
  // quotes around it, turn spaces into non-breaking ones and slip in invisible
  // marks. The code's fixed parts hold none of these, so there they are read past;
  // the age is taken exactly as it stands between its two dashes.
  var INVISIBLE = /[\u00ad\u061c\u180e\u200b-\u200f\u202a-\u202e\u2060-\u2064\u2066-\u2069\ufeff]/;
  // A run of these stands where a piece's space does: the space may have become a
  // line break, or gained a quote mark after it.
  var GAP = /[\s>]/;
  var QUOTES = "\"'`“”„‟‘’‚‛«»‹›「」『』";

  function isInvisible(c) { return c !== undefined && INVISIBLE.test(c); }
  function isGap(c) { return c !== undefined && !INVISIBLE.test(c) && GAP.test(c); }
  function isEdge(c) { return isGap(c) || isInvisible(c) || QUOTES.indexOf(c) >= 0; }
  function isDigit(c) { return c !== undefined && c >= "0" && c <= "9"; }

  // The code is 25 two-character indexes in grid order and ten dashes (60
  // characters), with the age and the counter set in. Dashes close these groups
  // before the age, and the groups after it.
  var GROUPS_BEFORE_AGE = [3, 3, 4, 4, 3, 3, 1];
  var GROUPS_AFTER_AGE = [3, 1];
  var FIXED_LENGTH = 60;
  var SHORTEST_COUNTER = 2; // " 0"
  var LARGEST_COUNTER = 9223372036854775807n; // the game counts in 64 bits

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
  // Otherwise { ok: false, error: { kind, ... } } saying what is wrong; positions
  // count the pasted text's characters from 1. Every loop here moves one way
  // through the text, so a hostile paste of any size gets its answer in linear time.
  function decode(text) {
    var raw = String(text);
    var start = 0, end = raw.length;
    while (start < end && isEdge(raw[start])) start++;
    while (end > start && isEdge(raw[end - 1])) end--;
    if (start === end) return fail("empty", {});
    // The first piece's space may have been trimmed off with the white space before it.
    var length = end - start + (isDigit(raw[start]) ? 1 : 0);
    if (length < FIXED_LENGTH + SHORTEST_COUNTER) {
      return fail("tooShort", { length: length, needed: FIXED_LENGTH + SHORTEST_COUNTER });
    }
    var grid = [];
    var at = start;
    var lastGap; // the last gap skip() read past, or -1

    // Reads past gaps and invisible marks.
    function skip() {
      lastGap = -1;
      for (; at < end && (isGap(raw[at]) || isInvisible(raw[at])); at++) {
        if (isGap(raw[at])) lastGap = at;
      }
    }
    function afterInvisible(i) {
      while (isInvisible(raw[i])) i++;
      return i;
    }
    // A piece is a digit 0 to 4 after a gap (or at the start), or "-1".
    function readPiece() {
      skip();
      var c = raw[at];
      if (c === "-") {
        var one = afterInvisible(at + 1);
        if (raw[one] === "1" && one < end) {
          at = one + 1;
          return -1;
        }
      } else if (c >= "0" && c <= "4" && (lastGap >= 0 || at === start)) {
        at += 1;
        return c.charCodeAt(0) - 48;
      }
      return lastGap >= 0 ? fail("notIndex", { position: grid.length, at: lastGap + 1, piece: " " + raw.charAt(at) })
        : fail("notIndex", { position: grid.length, at: at + 1, piece: raw.substr(at, 2) });
    }
    var g, p, piece;
    for (g = 0; g < GROUPS_BEFORE_AGE.length; g++) {
      for (p = 0; p < GROUPS_BEFORE_AGE[g]; p++) {
        piece = readPiece();
        if (typeof piece !== "number") return piece;
        grid.push(piece);
      }
      var from = at;
      skip();
      if (raw[at] !== "-") return fail("noDash", { at: from + 1, found: raw[from] });
      at += 1;
    }
    var ageStart = at;

    // The rest is read from the end back. The counter is the last piece, and its
    // number text is the only one without a dash before its digits, so the last
    // gap starts it.
    var space = end - 1;
    while (space >= ageStart && !isGap(raw[space])) space--;
    var counterText = raw.slice(space + 1, end).split("").filter(function (c) {
      return !isInvisible(c);
    }).join("");
    if (space < ageStart || /-/.test(counterText)) return fail("noCounter", {});
    if (!/^[0-9]+$/.test(counterText)) {
      return fail("counterNotNumber", { counter: quoted(counterText) });
    }
    // Compared by length first: a megabyte of digits is slow to make a BigInt of.
    var digits = counterText.replace(/^0+(?=[0-9])/, "");
    if (digits.length > 19 || BigInt(digits) > LARGEST_COUNTER) {
      return fail("counterTooLarge", { counter: quoted(counterText) });
    }
    var seconds = BigInt(digits);

    // Reading back from the counter's gap, to the dash that ends the age; nothing
    // before the age's start belongs to the rest.
    var b = space;
    function back(i) { return i >= ageStart ? raw[i] : undefined; }
    function skipBack(gaps) {
      while (isInvisible(back(b - 1)) || (gaps && isGap(back(b - 1)))) b--;
    }
    function dashBack() {
      skipBack(false);
      if (back(b - 1) !== "-") {
        return b > ageStart ? fail("noDash", { at: b, found: raw[b - 1] })
          : fail("noDash", { at: ageStart + 1, found: raw[ageStart] });
      }
      b -= 1;
      return null;
    }
    // The same pieces as readPiece, read from their end.
    function pieceBack(position) {
      skipBack(false);
      var c = back(b - 1);
      if (c === undefined) return fail("noDash", { at: ageStart + 1, found: raw[ageStart] });
      var before = b - 2;
      while (isInvisible(back(before))) before--;
      var index = c === "1" && back(before) === "-" ? -1
        : c >= "0" && c <= "4" && isGap(back(before)) ? c.charCodeAt(0) - 48 : null;
      if (index === null) {
        return isGap(back(before)) ? fail("notIndex", { position: position, at: before + 1, piece: " " + c })
          : fail("notIndex", { position: position, at: b - 1, piece: raw.substr(b - 2, 2) });
      }
      b = before;
      skipBack(true);
      return index;
    }
    skipBack(true);
    var after = [];
    for (g = GROUPS_AFTER_AGE.length - 1; g >= 0; g--) {
      var wrong = dashBack();
      if (wrong) return wrong;
      skipBack(true);
      for (p = 0; p < GROUPS_AFTER_AGE[g]; p++) {
        piece = pieceBack(24 - after.length);
        if (typeof piece !== "number") return piece;
        after.unshift(piece);
      }
    }
    var closing = dashBack();
    if (closing) return closing;
    return {
      ok: true,
      grid: grid.concat(after),
      age: raw.slice(ageStart, b),
      seconds: seconds,
      clock: clockText(seconds),
    };
  }

  // Where codes stand in a longer text: a line of a list, a mail, a pasted
  // paragraph. The fixed parts are matched with the same leniency as decode()
  // reads them; the age between is anything up to the first tail after it. A
  // digit piece needs a gap before it, as in decode(), except the first, which
  // a separator may have taken the space of. The patterns are built so that no
  // run of gaps can be read in two ways, which keeps a hostile text linear.
  var I = INVISIBLE.source.slice(1, -1);
  var S = "[\\s>" + I + "]*";
  var DIGIT_PIECE = "[0-4](?<=[\\s>][" + I + "]*[0-4])";
  var PIECE = "(?:" + S + "(?:" + DIGIT_PIECE + "|-[" + I + "]*1))";
  var FIRST_PIECE = "(?<![\\p{L}\\p{N}-])(?:[0-4]|-[" + I + "]*1)";
  function groups(counts) {
    return counts.map(function (count) {
      return PIECE + "{" + count + "}" + S + "-";
    }).join("");
  }
  var HEAD = new RegExp(FIRST_PIECE + PIECE + "{2}" + S + "-" + groups(GROUPS_BEFORE_AGE.slice(1)), "gu");
  var TAIL = new RegExp("-" + groups(GROUPS_AFTER_AGE) + S +
    "[0-9](?<=[\\s>][" + I + "]*[0-9])[0-9" + I + "]*(?![\\p{L}\\p{N}])", "u");

  // The codes in `text`, in order, as { start, end } offsets of text.slice(start,
  // end), which decode() reads. A head without a tail before the next head is
  // not taken for a code.
  function find(text) {
    var heads = [];
    var match;
    HEAD.lastIndex = 0;
    while ((match = HEAD.exec(text))) heads.push({ start: match.index, ageStart: HEAD.lastIndex });
    var found = [];
    heads.forEach(function (head, i) {
      var until = i + 1 < heads.length ? heads[i + 1].start : text.length;
      var tail = TAIL.exec(text.slice(head.ageStart, until));
      if (tail) found.push({ start: head.start, end: head.ageStart + tail.index + tail[0].length });
    });
    return found;
  }

  // What a player copies along with a code: a label before it ("Code:", "Your
  // code:", the Arabic pane's caption) and a full stop after it. They are
  // blanked out rather than cut, so that positions in messages still count the
  // pasted text's characters.
  var LABEL = /^[\s\u00a0]*[\p{L}\p{M}][\p{L}\p{M} '’]{0,40}[:：]/u;
  var STOP = new RegExp("[.。۔](?=[\\s>" + I + QUOTES + "]*$)", "u");
  function blank(match) { return " ".repeat(match.length); }

  // decode() for a text a player pastes: the label and the full stop are read
  // past, and two codes pasted together are refused rather than read as one with
  // the second in its age.
  function read(text) {
    var cleared = String(text).replace(LABEL, blank).replace(STOP, blank);
    var count = find(cleared).length;
    if (count > 1) return fail("twoCodes", { count: count });
    return decode(cleared);
  }

  // The counter as minutes and seconds, "m:ss", for a list of results.
  function minutesText(seconds) {
    var rest = seconds % 60n;
    return (seconds / 60n).toString() + ":" + (rest < 10n ? "0" : "") + rest.toString();
  }

  // The house (1 to 5) whose list in `row` holds `option`, when exactly one does;
  // otherwise null.
  function locate(grid, row, option) {
    var found = null;
    for (var house = 1; house <= HOUSES; house++) {
      if (grid[row * HOUSES + house - 1] !== option) continue;
      if (found !== null) return null;
      found = house;
    }
    return found;
  }

  // The houses where `option` can still stand in `row`: the one that holds it, or
  // the row's blank houses when none does. Null when several hold it, or when none
  // does and the row has no blank: the row has to be mended before a clue about
  // that option means anything.
  function places(grid, row, option) {
    var held = locate(grid, row, option);
    if (held !== null) return [held];
    var blanks = [];
    for (var house = 1; house <= HOUSES; house++) {
      var index = grid[row * HOUSES + house - 1];
      if (index === option) return null;
      if (index === -1) blanks.push(house);
    }
    return blanks.length ? blanks : null;
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

  // Whether each clue holds on the grid: true when it holds, false when the chosen
  // options already break it however the blanks are filled, and null when it
  // cannot be checked yet. The page reads clue 4 as "accepted" and clue 15 as
  // "nextDoor".
  function clueStates(grid, reading, clue15) {
    var table = CLUE_TABLES[(reading || "accepted") + "/" + (clue15 || "nextDoor")];
    if (!table) throw new Error("unknown reading: " + reading + ", " + clue15);
    return table.map(function (clue) {
      var fixedHouse = typeof clue[1] === "number";
      var a = places(grid, clue[0][0], clue[0][1]);
      var b = fixedHouse ? [clue[1]] : places(grid, clue[1][0], clue[1][1]);
      if (a === null || b === null) return null;
      // Clue 4, the one clue about two options of one row, never puts them in one
      // house, so the pairs need no check that they differ.
      var possible = a.some(function (x) {
        return b.some(function (y) { return clue[2](x, y); });
      });
      if (!possible) return false;
      var chosen = locate(grid, clue[0][0], clue[0][1]) !== null &&
        (fixedHouse || locate(grid, clue[1][0], clue[1][1]) !== null);
      return chosen ? true : null;
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
    read: read,
    find: find,
    minutesText: minutesText,
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
