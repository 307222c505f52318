// The answer page's decoding and judging, without a browser:
//   MINDLARK_SITEDATA=build/check/site/mindlark-sitedata node --test tests/site/
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
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

test("a pasted code is read past a label and a full stop, and two codes are refused", () => {
  const code = " 3 4 0- 1 2 1- 2 3 4 0- 0 2 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
  const cases = [
    [`Code: ${code}.`, "30"],
    [`Your code:${code.trim()}`, "30"],
    [`شيفرة الجواب: ${code.trim()}۔`, "30"],
    [`“${code.trim()}.”`, "30"],
    [`${code}\n${code}`, { kind: "twoCodes", count: 2 }],
    [`${code.trim()}.${code.trim()}.`, { kind: "twoCodes", count: 2 }],
    // Positions in messages still count the pasted text's characters.
    [`Code: ${code.replace(" 2 1-", " 7 1-")}.`, { kind: "notIndex", position: 4, at: 16, piece: " 7" }],
    [`My answer is ${code}`, { kind: "notIndex", position: 0, at: 1, piece: "My" }],
  ];
  for (const [text, expected] of cases) {
    const read = logic.read(text);
    assert.deepEqual(read.ok ? read.age : read.error, expected, JSON.stringify(text));
  }
});

const board = require("../../site/www/assets/board-logic.js");

// What the board shows for what it read: a line per code, in ranking order, as
// [place, name, verdict, time, age, sent, notes], and the skipped as [where, reason].
async function boardOf(inputs) {
  const results = [];
  for (const [input, source] of inputs) {
    const result = board.readInput(input, source);
    for (const message of result.messages) await board.readMessage(message.bytes, message.where, result);
    results.push(result);
  }
  const entries = results.flatMap((result) => result.entries);
  const verdict = (v) => !v.ok ? v.error.kind : v.solved ? "solved"
    : [...(v.result.rows.length ? ["incomplete"] : []), ...v.result.failing].join(" ");
  const lines = board.rank(entries, board.judgeEntry).flatMap((row) => [row.item, ...row.others].map((item) => [
    item === row.item ? row.place : "+", item.entry.name, verdict(item.verdict),
    item.verdict.ok ? logic.minutesText(item.verdict.decoded.seconds) : "", item.verdict.ok ? item.verdict.decoded.age : "",
    item.entry.sent, item.entry.notes.map((note) => note.key).join(" "),
  ]));
  const skipped = results.flatMap((result) => result.skipped.map((s) => [s.where.line || s.where.message || s.where.source, s.reason]));
  return { lines, skipped, read: results.reduce((sum, result) => sum + result.read, 0) };
}
const SOLVED_CODE = " 3 4 0- 1 2 1- 2 3 4 0- 0 2 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
const SWAPPED_CODE = " 3 4 0- 1 2 1- 2 3 4 0- 2 0 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
const fixture = (name) => [new Uint8Array(fs.readFileSync(path.join(__dirname, "board", name))), name];

test("the board reads a spreadsheet's CSV, an mbox export and a saved mail, and ranks them", async () => {
  const seen = await boardOf([fixture("year7.csv"), fixture("Inbox.mbox"), fixture("RE riddle.eml")]);
  assert.deepEqual(seen.lines, [
    [1, "يوسف العلي", "solved", "8:32", "11", "2025-03-04T10:07:00.000Z", ""],
    [2, "Zoë \"Zed\" Martin", "solved", "10:11", "12\r\nyears", "2025-03-04T10:08:00.000Z", ""],
    [3, "=HYPERLINK(\"http://example.com\",\"prize\")", "solved", "11:40", "12", "2025-03-04T10:11:00.000Z", ""],
    // The first solved code counts, not the faster one sent later under the same name.
    [4, "Layla Haddad", "solved", "12:34", "12", "2025-03-04T10:02:00.000Z", ""],
    ["+", "layla  haddad", "solved", "10:00", "12", "2025-03-04T10:15:00.000Z", ""],
    [5, "مريم يوسف", "solved", "16:38", "12", "2025-03-04T09:02:00.000Z", "quotedIgnored"],
    [6, "سارة الأحمد", "solved", "20:05", "11", "2025-03-04T08:20:00.000Z", ""],
    [7, "Tom Baker", "solved", "22:00", "13", "2025-03-04T08:40:00.000Z", "quotedIgnored"],
    ["+", "Tom Baker", "3 15", "14:05", "13", "2025-03-04T08:25:00.000Z", ""],
    [null, "O'Brien; Sean", "3 15", "6:40", "12", "2025-03-04T10:05:00.000Z", ""],
    [null, "Hüseyin Yılmaz", "incomplete", "5:33", "14", "2025-03-05T08:12:45.000Z", "quotedIgnored"],
    [null, "Ana Lima", "counterNotNumber", "", "", "2025-03-04T10:10:00.000Z", ""],
  ]);
  assert.deepEqual(seen.skipped, [[7, "noCode"], [5, "noCode"]]);
  assert.equal(seen.read, 14);
});

test("pasted lines give names and codes in either order, and other files say what they are", async () => {
  const solved = (seconds) => SOLVED_CODE.replace(" 125", ` ${seconds}`);
  const pasted = [
    `Layla Haddad, ${solved(300)}`,
    `${solved(200).trim()} - يوسف العلي`,
    `Sam: Code: ${solved(400).trim()}.`,
    "",
    "see you tomorrow",
    `Ana ${solved(500).replace(" 500", " 5x")}`,
    `Noor ${solved(100)} ${solved(90)}`,
    `${SWAPPED_CODE} -- Mia`,
    `Omar: ${solved(250).replace("1- 4 0 3", "1-\n4 0 3")}`, // broken over two lines
  ].join("\n");
  // A spreadsheet's "Unicode text", and a CSV saved on an Arabic Windows.
  const utf16 = Buffer.from(`\ufeffName\tCode\r\nMaya\t${solved(150)}\r\n`, "utf16le");
  const cp1256 = Buffer.concat([Buffer.from([0xe3, 0xd1, 0xed, 0xe3]), Buffer.from(`,${solved(120)}\r\n`)]);
  const xlsx = Buffer.from("PK\x03\x04\x14\x00\x06\x00", "latin1");
  const seen = await boardOf([[pasted, ""], [utf16, "export.txt"], [cp1256, "ansi.csv"], [xlsx, "class.xlsx"]]);
  assert.deepEqual(seen.lines.map((line) => [line[0], line[1], line[2], line[6]]), [
    [1, "Noor", "solved", "twoCodes"],
    ["+", "Noor", "solved", "twoCodes"],
    [2, "مريم", "solved", "legacyEncoding"],
    [3, "Maya", "solved", ""],
    [4, "يوسف العلي", "solved", ""],
    [5, "Omar", "solved", ""],
    [6, "Layla Haddad", "solved", ""],
    [7, "Sam", "solved", ""],
    [null, "Mia", "3 15", ""],
    [null, "Ana", "counterNotNumber", ""],
  ]);
  assert.deepEqual(seen.skipped, [[5, "noCode"], ["class.xlsx", "notText"]]);
});

test("the export quotes every field and keeps formulas from running", () => {
  assert.equal(board.csvText([["=1+1", "say \"hi\"", "سارة"], ["-2", "", "@x"]]),
    "\ufeff\"'=1+1\",\"say \"\"hi\"\"\",\"سارة\"\r\n\"'-2\",\"\",\"'@x\"\r\n");
});

test("the board reads hostile inputs of a megabyte in linear time", () => {
  const counts = execFileSync(process.execPath, ["-e", `
    const board = require(${JSON.stringify(require.resolve("../../site/www/assets/board-logic.js"))});
    const read = ["a" + " ".repeat(1 << 20) + "a 0 0 0 0 0 0", "On x\\n".repeat(200000),
                  "Name:" + " ".repeat(1 << 20) + "x", ("a;" + "\\"".repeat(1000) + "\\n").repeat(1000)]
      .map((text) => board.readInput(text, "")).map((result) => [result.entries.length, result.skipped.length]);
    console.log(JSON.stringify([read, board.htmlText("<b>".repeat(300000) + "&amp".repeat(200000)).length]));
  `], { encoding: "utf8", timeout: 60000 });
  assert.deepEqual(JSON.parse(counts), [[[1, 0], [0, 200000], [0, 1], [0, 1000]], 800000]);
});
