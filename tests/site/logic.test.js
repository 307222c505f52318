// The answer page's decoding and judging, without a browser:
//   MINDLARK_SITEDATA=build/check/site/mindlark-sitedata node --test tests/site/
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const { execFileSync } = require("node:child_process");

const logic = require("../../site/www/assets/answer-logic.js");

// Grids as five rows of option positions, houses 1 to 5; flattened in grid order.
const flat = (rows) => rows.flat();
const CLASSIC = [[3, 4, 0, 1, 2], [1, 2, 3, 4, 0], [0, 2, 3, 1, 4], [2, 3, 4, 0, 1], [1, 4, 0, 3, 2]];
const GERMAN = 0;

function permutations(items) {
  if (items.length <= 1) return [items];
  return items.flatMap((item, i) =>
    permutations([...items.slice(0, i), ...items.slice(i + 1)]).map((rest) => [item, ...rest]));
}

// Every grid whose rows use each option once and on which every clue holds under
// the reading, found by filling rows one by one and dropping a partial grid as
// soon as a clue it can already check fails.
function solutions(reading, clue15) {
  const rows = permutations([0, 1, 2, 3, 4]);
  const grid = new Array(25).fill(-1);
  const found = [];
  const order = [0, 3, 2, 4, 1];
  (function fill(depth) {
    if (depth === order.length) return found.push(grid.slice());
    const row = order[depth];
    for (const options of rows) {
      grid.splice(row * 5, 5, ...options);
      if (!logic.clueStates(grid, reading, clue15).includes(false)) fill(depth + 1);
    }
    grid.splice(row * 5, 5, -1, -1, -1, -1, -1);
  })(0);
  return found;
}

const fishOwner = (grid) => grid[15 + grid.slice(5, 10).indexOf(4)];

test("clue 4's readings admit the grids the riddle is known for", () => {
  const byNumber = solutions("houseNumber");
  const mirrored = solutions("mirrored");
  const anywhere = solutions("anywhere");
  const accepted = solutions("accepted");
  assert.deepEqual(byNumber, [flat(CLASSIC)]);
  assert.equal(mirrored.length, 1);
  assert.notDeepEqual(mirrored[0], byNumber[0]);
  assert.equal(anywhere.length, 7);
  assert.ok(anywhere.some((g) => g.join() === byNumber[0].join()));
  assert.deepEqual(new Set(accepted.map(String)), new Set([...byNumber, ...mirrored].map(String)));
  for (const grid of accepted) assert.equal(fishOwner(grid), GERMAN);
  // Why "anywhere to the left" is not the page's reading: it leaves the question open.
  assert.ok(new Set(anywhere.map(fishOwner)).size > 1);
});

test("the Arabic wording of clue 15, taken literally, leaves no next-door answer", () => {
  assert.deepEqual(solutions("accepted", "sameHouse"), []);
});

test("the page accepts both next-door readings and explains the far-left grids", () => {
  for (const grid of solutions("accepted")) {
    const verdict = logic.judge(grid);
    assert.ok(verdict.solved);
    assert.equal(verdict.fishHouse, grid.slice(5, 10).indexOf(4) + 1);
  }
  const farLeft = solutions("anywhere").filter((grid) => !logic.judge(grid).solved);
  assert.equal(farLeft.length, 6);
  for (const grid of farLeft) {
    assert.deepEqual(logic.judge(grid), { ...logic.judge(grid), solved: false, failing: [4], nearMiss: true });
  }
  assert.equal(logic.judge(flat(CLASSIC)).nearMiss, false);
});

test("a swap of two houses in one row breaks the clues about them", () => {
  const swapped = (row, a, b) => {
    const rows = CLASSIC.map((r) => r.slice());
    [rows[row][a - 1], rows[row][b - 1]] = [rows[row][b - 1], rows[row][a - 1]];
    return flat(rows);
  };
  const cases = [
    // [row, house, house, the clues that then fail]
    [0, 1, 2, [7, 14]],
    [0, 4, 5, [5]], // the green house right of the white one still stands next door
    [1, 3, 4, [6]],
    [2, 1, 2, [3, 15]],
    [2, 3, 4, [5, 8]],
    [3, 1, 5, [2, 9, 14]],
    [4, 1, 2, [7, 10, 11, 15]],
    [4, 4, 5, [12, 13]],
  ];
  for (const [row, a, b, failing] of cases) {
    const verdict = logic.judge(swapped(row, a, b));
    assert.equal(verdict.solved, false, `row ${row}, houses ${a} and ${b}`);
    assert.deepEqual(verdict.failing, failing, `row ${row}, houses ${a} and ${b}`);
  }
  for (let row = 0; row < 5; row++)
    for (let a = 1; a <= 5; a++)
      for (let b = a + 1; b <= 5; b++) assert.notEqual(logic.judge(swapped(row, a, b)).failing.length, 0);
});

test("an incomplete grid is not solved and says which rows lack what", () => {
  const grid = flat(CLASSIC);
  grid[7] = -1; // Pet, house 3
  grid[10] = grid[11]; // Drink: tea in houses 1 and 2
  const verdict = logic.judge(grid);
  assert.equal(verdict.solved, false);
  assert.deepEqual(verdict.rows, [
    { row: 1, unchosen: [3], repeated: [] },
    { row: 2, unchosen: [], repeated: [{ option: 2, houses: [1, 2] }] },
  ]);
  assert.deepEqual(verdict.open, [3, 6, 15]);
  assert.equal(logic.judge(new Array(25).fill(-1)).open.length, 15);
});

test("a partly blank grid fails the clues its chosen options already break", () => {
  // [cells chosen as [row, house, option], on an otherwise blank grid; the clues that fail]
  const cases = [
    [[[3, 1, GERMAN]], [9]], // house 1 holds no Norwegian
    [[[2, 3, 1]], [8]], // coffee in the middle house leaves no room for milk
    [[[0, 1, 0], [0, 2, 2], [0, 3, 3]], [4]], // green can only go to 4 or 5, not beside white in 2
    [[[0, 2, 2], [0, 4, 4]], []], // green may still go to 1 or 3
    [[[3, 3, 2]], [9]], // a Norwegian in 3 breaks clue 9; blue may still stand beside him
  ];
  for (const [cells, failing] of cases) {
    const grid = new Array(25).fill(-1);
    for (const [row, house, option] of cells) grid[row * 5 + house - 1] = option;
    const verdict = logic.judge(grid);
    assert.deepEqual(verdict.failing, failing, JSON.stringify(cells));
    assert.equal(verdict.failing.length + verdict.open.length, 15, JSON.stringify(cells));
  }
});

const ZEROS = " 0 0 0- 0 0 0- 0 0 0 0- 0 0 0 0- 0 0 0- 0 0 0- 0-30- 0 0 0- 0- 125";

test("malformed codes say what is wrong", () => {
  const cases = [
    ["", { kind: "empty" }],
    [" \r\n\t ", { kind: "empty" }],
    [" 3 4 0- 1 2 1-", { kind: "tooShort", length: 14, needed: 62 }],
    [ZEROS.replace(" 0 0 0- 0 0 0-", " 0 0 0- 7 0 0-"), { kind: "notIndex", position: 3, at: 8, piece: " 7" }],
    [ZEROS.replace("- 0-30", "--2-30"), { kind: "notIndex", position: 20, at: 47, piece: "-2" }],
    [ZEROS.replace("- 0 0 0 0- 0 0 0 0-", "- 0 0 0 0+ 0 0 0 0-"), { kind: "noDash", at: 23, found: "+" }],
    [ZEROS.replace("30- 0 0 0", "30+ 0 0 0"), { kind: "noDash", at: 52, found: "+" }],
    [ZEROS.replace(" 125", " 12a"), { kind: "counterNotNumber", counter: "12a" }],
    [ZEROS.replace(" 125", " ١٢٥"), { kind: "counterNotNumber", counter: "١٢٥" }],
    [ZEROS.replace(" 125", " 9223372036854775808"), { kind: "counterTooLarge", counter: "9223372036854775808" }],
    [ZEROS.replace(" 125", " 1" + "0".repeat(29)), { kind: "counterTooLarge", counter: "1" + "0".repeat(19) + "…" }],
    [ZEROS.replace("- 125", "-125"), { kind: "noCounter" }],
    ["x".repeat(100), { kind: "notIndex", position: 0, at: 1, piece: "xx" }],
  ];
  for (const [code, error] of cases) assert.deepEqual(logic.decode(code), { ok: false, error }, JSON.stringify(code));
  // A megabyte pasted by mistake or malice gets an answer however it is made. It
  // runs in a child, so that a hang fails the test instead of stalling the runner.
  const verdicts = execFileSync(process.execPath, ["-e", `
    const logic = require(${JSON.stringify(require.resolve("../../site/www/assets/answer-logic.js"))});
    const codes = [" 0".repeat(500000), "x" + " ".repeat(1 << 20) + "x",
                   ${JSON.stringify(ZEROS)}.replace("30", "\\n".repeat(1 << 20))];
    console.log(JSON.stringify(codes.map((code) => logic.decode(code).ok)));
  `], { encoding: "utf8", timeout: 60000 });
  assert.deepEqual(JSON.parse(verdicts), [false, false, true]);
});

test("white space around a code is tolerated, also where it took the first space", () => {
  const expected = logic.decode(ZEROS);
  assert.equal(expected.ok, true);
  for (const pasted of ["\n  " + ZEROS + "\r\n", ZEROS.slice(1), "\t" + ZEROS.slice(1) + " "]) {
    assert.deepEqual(logic.decode(pasted), expected, JSON.stringify(pasted));
  }
});

test("codes that mail or chat mangled decode as the game wrote them", () => {
  const code = " 3 4 0- 1 2 1- 2 3 4 0- 0 2 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
  const mangled = [
    code.replace(/ /g, "\u00a0"), // non-breaking spaces
    code.replace(/ (\d)/g, " \u200b$1"), // zero-width spaces
    code.replace("0- 1 2", "0-\n1 2"), // a line break in place of a space, after a dash
    code.replace("0- 1 2", "0- \r\n1 2"),
    code.replace("- 125", "-\n125"),
    "> " + code.replace("1- 4 0 3", "1-\n> 4 0 3"), // quoted in a reply
    `“${code.trim()}”`,
    "```\n" + code + "\n```",
  ];
  const expected = logic.decode(code);
  for (const text of mangled) assert.deepEqual(logic.decode(text), expected, JSON.stringify(text));
  // The age is anything the player typed: it keeps what the fixed parts would lose.
  const age = "\n> 3\u00a00\u200b ";
  assert.equal(logic.decode(code.replace("-30-", `-${age}-`)).age, age);
});

test("codes made by the game decode to the grid they came from", () => {
  const tool = process.env.MINDLARK_SITEDATA;
  assert.ok(tool, "set MINDLARK_SITEDATA to the built mindlark-sitedata (ctest -L site does)");
  const samples = JSON.parse(execFileSync(path.resolve(tool), ["codes"], { encoding: "utf8" }));
  assert.ok(samples.length > 20);
  const clocks = { 125: "0:02:05", 3599: "0:59:59", 86399: "23:59:59", 9223372036854775807: "2562047788015215:30:07" };
  for (const sample of samples) {
    // A text box hands over its line breaks as LF; the age keeps them.
    for (const pasted of [sample.code, sample.code.replace(/\r\n/g, "\n")]) {
      const decoded = logic.decode(pasted);
      assert.equal(decoded.ok, true, JSON.stringify(pasted));
      assert.deepEqual(decoded.grid, sample.grid, sample.code);
      assert.equal(decoded.seconds.toString(), sample.elapsed);
      assert.equal(decoded.age, pasted === sample.code ? sample.age : sample.age.replace(/\r\n/g, "\n"));
      if (clocks[sample.elapsed]) assert.equal(decoded.clock, clocks[sample.elapsed]);
    }
  }
});
