// The answer page in Debian's chromium, opened from disk as an installed copy is:
//   CHROMIUM=/usr/bin/chromium MINDLARK_SCREENSHOTS=DIR node --test tests/site/
// Nothing here downloads a browser; cdp.js drives the one given.
"use strict";
const { describe, it, before, after } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const http = require("node:http");
const os = require("node:os");
const path = require("node:path");
const { pathToFileURL } = require("node:url");
const { Browser } = require("./cdp.js");

const www = path.resolve(__dirname, "../../site/www");
const texts = require(path.join(www, "assets/texts.js"));
const riddle = require(path.join(www, "assets/riddle-data.js"));
const answerPage = pathToFileURL(path.join(www, "answer/index.html")).href;
const boardPage = pathToFileURL(path.join(www, "board/index.html")).href;
const board = require(path.join(www, "assets/board-logic.js"));
const { entries: bench, measure } = require("./board.bench.js");
const fixtures = path.join(__dirname, "board");
const registerPage = pathToFileURL(path.join(www, "register/index.html")).href;
// Without a directory for the README's pictures they are still taken, into one
// that is removed afterwards.
const keepShots = Boolean(process.env.MINDLARK_SCREENSHOTS);
const shots = process.env.MINDLARK_SCREENSHOTS || fs.mkdtempSync(path.join(os.tmpdir(), "mindlark-shots-"));

// The classic solution as the game writes it (age "30", 125 ticks), and the same
// grid with the drinks of houses 1 and 2 swapped, which breaks clues 3 and 15.
const SOLVED = " 3 4 0- 1 2 1- 2 3 4 0- 0 2 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
const SWAPPED = " 3 4 0- 1 2 1- 2 3 4 0- 2 0 3 1- 4 2 3- 4 0 1- 1-30- 4 0 3- 2- 125";
// A grid that breaks clue 4 alone, and would hold if it meant anywhere to the left.
const NEAR_MISS = " 1 4 0- 3 2 3- 1 2 4 0- 1 0 3 2- 4 2 0- 4 3 1- 0-30- 3 4 1- 2- 5";
// Only the first house's colour chosen.
const ONE_CHOSEN = " 2-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-30--1-1-1--1- 0";
const CLASSIC = [[3, 4, 0, 1, 2], [1, 2, 3, 4, 0], [0, 2, 3, 1, 4], [2, 3, 4, 0, 1], [1, 4, 0, 3, 2]];

let browser;

// The pages over http, as the project site serves them. Every request that finds
// no file is kept, so that a test sees the browser ask for anything missing.
function serve(root) {
  const missing = [];
  const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".svg": "image/svg+xml" };
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, "http://host").pathname.replace(/\/$/, "/index.html");
    fs.readFile(path.join(root, name), (error, body) => {
      if (error) missing.push(name);
      response.writeHead(error ? 404 : 200, { "Content-Type": types[path.extname(name)] || "text/plain" }).end(body);
    });
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () =>
    resolve({ server, missing, url: `http://127.0.0.1:${server.address().port}/` })));
}

describe("the answer page in chromium", () => {
  before(async () => {
    browser = await Browser.launch(process.env.CHROMIUM || "/usr/bin/chromium");
  });

  after(async () => {
    if (browser) await browser.close();
    if (!keepShots) fs.rmSync(shots, { recursive: true, force: true });
  });

  // Saves the page from its top to the end of the result, for the README.
  async function picture(page, name) {
    const bottom = await page.$eval("#details", (node) => node.getBoundingClientRect().bottom);
    const clip = { x: 0, y: 0, width: 900, height: Math.ceil(bottom) + 16 };
    await page.screenshot(path.join(shots, `${name}.png`), clip);
  }

  // A page opened by a browser whose preferred language is `language`. It keeps
  // what the page's content security policy turns away, for done() to see.
  async function open(url, language, width = 900, height = 800) {
    const page = await browser.newPage(width, height);
    await page.beforeEveryDocument((languages) => {
      Object.defineProperty(navigator, "languages", { get: () => languages });
      Object.defineProperty(navigator, "language", { get: () => languages[0] });
      window.refused = [];
      document.addEventListener("securitypolicyviolation", (event) => window.refused.push(event.violatedDirective));
    }, language === "ar" ? ["ar-SY", "ar"] : ["en-GB", "en"]);
    await page.goto(url);
    return page;
  }

  async function done(page) {
    assert.deepEqual(await page.evaluate(() => window.refused), []);
    await page.close();
  }

  // Pastes a code and presses Enter, as a player would, in the box or, with
  // `button`, on Check.
  async function check(page, code, showFailing, button = false) {
    const ticked = await page.$eval("#show-failing", (box) => box.checked);
    if (ticked !== showFailing) {
      await page.focus("#show-failing");
      await page.press("Space");
    }
    await page.$eval("#code", (box) => { box.value = ""; box.focus(); });
    await page.type(code);
    if (button) await page.focus("#check");
    await page.press("Enter");
    assert.equal(await page.$eval("#code", (box) => box.value), code);
  }

  const textOf = (page, selector) => page.$eval(selector, (node) => node.innerText.trim());
  const gridCells = (page) =>
    page.$$eval("table.grid tbody tr", (rows) =>
      rows.map((row) => [...row.cells].slice(1).map((cell) => cell.textContent)));

  for (const [language, name] of [["en", "english"], ["ar", "arabic"]]) {
    const words = texts[language];
    const data = riddle[language];

    it(`${name}: the page starts in the browser's language and judges a solved grid`, async () => {
      const page = await open(answerPage, language);
      assert.equal(await page.$eval("html", (html) => html.lang), language);
      assert.equal(await page.$eval("html", (html) => html.dir), language === "ar" ? "rtl" : "ltr");
      await check(page, "\n" + SOLVED + "\n", false, true);
      const verdict = await textOf(page, "#verdict");
      assert.ok(verdict.startsWith(words.solved), verdict);
      assert.ok(verdict.includes("0:02:05"));
      assert.deepEqual(await gridCells(page), CLASSIC.map((row, r) => row.map((index) => data.options[r][index])));
      const announced = await page.$eval("#verdict", (node) => [node.role, node.ariaLive]);
      assert.deepEqual(announced, ["status", "polite"]);
      await picture(page, `answer-solved-${name}`);
      await done(page);
    });

    it(`${name}: the page counts and, on request, lists the clues a grid breaks`, async () => {
      const page = await open(answerPage, language);
      await check(page, SWAPPED, false);
      const verdict = await textOf(page, "#verdict");
      assert.ok(verdict.startsWith(words.notSolved));
      assert.ok(verdict.includes(language === "ar" ? "مساعدتان لا تتحققان." : "2 clues do not hold."), verdict);
      assert.equal(await page.$$eval("#details ul.clues li", (items) => items.length), 0);
      await check(page, SWAPPED, true);
      // The Arabic clue 15 says the smoker drinks the water himself: its failure points to why.
      assert.deepEqual(await page.$$eval("#details ul.clues li", (items) =>
        items.map((item) => [item.firstChild.textContent, item.querySelector("a") && item.querySelector("a").hash])),
      [[data.clues[2], null], [data.clues[14], language === "ar" ? "#clue15" : null]]);
      await picture(page, `answer-failing-${name}`);
      await check(page, NEAR_MISS, true);
      assert.ok((await textOf(page, "#verdict")).includes(words.failing.one));
      assert.equal(await page.$eval("#verdict a", (link) => link.hash), "#clue4");
      await done(page);
    });

    it(`${name}: on a phone the grid fits, with the house the verdict names in view`, async () => {
      const page = await open(answerPage, language, 375, 740);
      // As a mail quoting the code, with its line broken, hands it over.
      await check(page, `> “${SOLVED.replace("0- 1 2", "0-\n> 1 2").trim()}”`, false);
      assert.ok((await textOf(page, "#verdict")).startsWith(words.solved));
      await page.screenshot(path.join(shots, `answer-phone-${name}.png`));
      const inView = () => page.$eval("table.grid th.named", (house, box = house.getBoundingClientRect()) =>
        box.top >= 0 && box.bottom <= innerHeight && box.left >= 0 && box.right <= innerWidth);
      // Neither the page nor the grid's own box may scroll sideways.
      const sideways = () => page.evaluate(() => [document.documentElement, document.getElementById("details")]
        .reduce((sum, box) => sum + box.scrollWidth - box.clientWidth, 0));
      assert.equal(await inView(), true);
      await page.send("Emulation.setDeviceMetricsOverride", { width: 360, height: 740, deviceScaleFactor: 1, mobile: false });
      assert.equal(await inView(), true);
      assert.equal(await sideways(), 0);
      await check(page, SOLVED.replace("-30-", `-${"W".repeat(300)}-`), false);
      assert.equal(await sideways(), 0);
      // With "Show which clues fail" ticked, Check brings them into view.
      await check(page, SWAPPED, true);
      assert.deepEqual(await page.$$eval("#details ul.clues li", (items) =>
        items.map((item) => item.getBoundingClientRect().bottom <= innerHeight)), [true, true]);
      await done(page);
    });

    it(`${name}: a malformed code gets a message and no verdict`, async () => {
      const page = await open(answerPage, language);
      await check(page, SOLVED.replace("- 125", "- 12x"), true);
      const verdict = await textOf(page, "#verdict");
      assert.ok(verdict.startsWith(words.notCode), verdict);
      assert.ok(verdict.includes("12x"));
      assert.equal(await page.exists("table.grid"), false);
      await done(page);
    });
  }

  it("an age is shown as the text it is, never as markup", async () => {
    const page = await open(answerPage, "en");
    const age = '<img src="x" onerror="document.title=1">\n12';
    await check(page, SOLVED.replace("-30-", `-${age}-`), false);
    assert.equal(await page.$eval("#verdict .age", (node) => node.textContent), age);
    assert.equal(await page.exists("#verdict img"), false);
    await done(page);
  });

  it("the keyboard reaches every control, and the language switch redraws the result", async () => {
    const page = await open(answerPage, "en");
    const reached = [];
    for (let i = 0; i < 6; i++) {
      await page.press("Tab");
      reached.push(await page.evaluate(() => {
        const focused = document.activeElement;
        return focused.id || focused.getAttribute("data-language") || focused.tagName;
      }));
    }
    assert.deepEqual(reached, ["en", "ar", "code", "show-failing", "check", "A"]);
    // Every control carries a name a screen reader can read out.
    const unnamed = await page.$$eval("textarea, input, button", (controls) =>
      controls.filter((control) => !(control.labels && control.labels.length) && !control.textContent.trim()).length);
    assert.equal(unnamed, 0);

    await check(page, SOLVED, false);
    await page.click('button[data-language="ar"]');
    assert.equal(await page.$eval("html", (html) => html.dir), "rtl");
    assert.ok((await textOf(page, "#verdict")).startsWith(texts.ar.solved));
    assert.equal(await page.$eval("table.grid th[scope=row]", (th) => th.textContent), riddle.ar.attributes[0]);
    await done(page);
  });

  it("the registration help opens from disk in both languages", async () => {
    for (const language of ["en", "ar"]) {
      const page = await open(registerPage, language);
      assert.equal(await textOf(page, "h1"), texts[language].registerHeading);
      assert.ok((await textOf(page, "main")).includes("~/.local/share/mindlark"));
      await done(page);
    }
  });

  it("without scripts every page still reads in English, and with them no inline script runs", async () => {
    for (const file of ["index.html", "answer/index.html", "register/index.html", "board/index.html"]) {
      const url = pathToFileURL(path.join(www, file)).href;
      const page = await open("about:blank", "ar");
      await page.send("Emulation.setScriptExecutionDisabled", { value: true });
      await page.goto(url);
      const shown = await page.$$eval("[data-text]", (nodes) =>
        nodes.map((node) => [node.getAttribute("data-text"), node.textContent.replace(/\s+/g, " ").trim()]));
      assert.deepEqual(shown, shown.map(([key]) => [key, texts.en[key]]), file);
      await page.send("Emulation.setScriptExecutionDisabled", { value: false });
      await page.goto(url);
      assert.equal(await page.evaluate(() => {
        const script = document.head.appendChild(document.createElement("script"));
        script.textContent = "window.ran = true";
        return window.ran === true;
      }), false, file);
      await page.close();
    }
  });

  for (const over of ["file", "http"]) {
    it(`over ${over}, a chosen language is kept, ?lang= chooses one, and #code= checks a code`, async () => {
      const site = over === "http" ? await serve(www) : { url: pathToFileURL(www).href + "/", missing: [] };
      try {
        const page = await open(`${site.url}answer/index.html#code=${encodeURIComponent(ONE_CHOSEN)}`, "en");
        assert.equal(await page.$eval("#code", (box) => box.value), ONE_CHOSEN);
        assert.ok((await textOf(page, "#verdict")).startsWith(texts.en.notSolved));
        // A blank list is read out as such, not as a bare dash.
        assert.deepEqual(await page.$$eval("td.unchosen", (cells) => cells.map((cell) => cell.textContent)),
          new Array(24).fill(texts.en.unchosen + texts.en.unchosenSpoken));

        await page.click('button[data-language="ar"]');
        await page.goto(`${site.url}index.html`);
        assert.equal(await page.$eval("html", (html) => html.lang), "ar");
        await page.goto(`${site.url}board/index.html`); // every file it asks for is there
        await page.goto(`${site.url}register/index.html?lang=en`);
        assert.equal(await page.$eval("html", (html) => html.lang), "en");
        await page.click('button[data-language="ar"]');
        await page.goto(await page.evaluate(() => location.href)); // a reload keeps the choice
        assert.equal(await page.$eval("html", (html) => html.lang), "ar");
        await done(page);
        assert.deepEqual(site.missing, []);
      } finally {
        if (site.server) site.server.close();
      }
    });
  }
  // The board's file input given files as a player's chooser gives them; resolves
  // once the board has read them.
  async function addFiles(page, names) {
    const { root } = await page.send("DOM.getDocument");
    const { nodeId } = await page.send("DOM.querySelector", { nodeId: root.nodeId, selector: "#files" });
    await page.evaluate(() => { document.getElementById("status-text").textContent = ""; });
    await page.send("DOM.setFileInputFiles", { nodeId, files: names.map((name) => path.join(fixtures, name)) });
    await added(page);
  }
  const added = (page) => page.evaluate(async () => {
    const done = () => !document.getElementById("add").disabled && document.getElementById("status-text").textContent;
    for (let i = 0; i < 1500 && !done(); i++) await new Promise((resolve) => setTimeout(resolve, 20));
    return document.getElementById("status-text").textContent;
  });
  const column = (page, n) => page.$$eval("#rows tr", (rows, n) => rows.map((row) => row.cells[n].textContent), n);
  const FILES = ["year7.csv", "Inbox.mbox", "RE riddle.eml"];

  it("the board ranks dropped files and pasted lines, sorts, finds, exports and keeps them until cleared", async () => {
    const page = await open(boardPage, "en");
    await addFiles(page, FILES);
    const bottom = await page.$eval("#results", (table) => table.getBoundingClientRect().bottom);
    await page.screenshot(path.join(shots, "board-english.png"), { x: 0, y: 0, width: 900, height: Math.ceil(bottom) + 16 });
    // Dropped on the page, and pasted: names that try to be markup, formulas or properties.
    const hostile = ['<img src=x onerror="document.title=1">', "=SUM(A1)", "__proto__", "constructor", "\u202eevil"];
    await page.evaluate((lines) => {
      const files = new DataTransfer();
      files.items.add(new File([lines.join("\n")], "names.txt"));
      document.getElementById("status-text").textContent = "";
      document.body.dispatchEvent(new DragEvent("drop", { dataTransfer: files, bubbles: true, cancelable: true }));
    }, hostile.map((name, i) => `${name}, ${SOLVED.replace(" 125", ` ${2000 + i}`)}`));
    assert.match(await added(page), /^Added: 5 entries read, 0 of them skipped/);
    await page.$eval("#paste", (box, text) => { box.value = text; }, `__proto__ - ${SWAPPED}\nno code here`);
    await page.click("#add");
    assert.match(await added(page), /^Added: 2 entries read, 1 of them skipped/);
    assert.deepEqual(await page.$$eval("#counts dd", (counts) => counts.map((dd) => Number(dd.textContent))), [21, 17, 1, 3, 12]);
    const names = await column(page, 1);
    assert.deepEqual(names.slice(0, 3), ["يوسف العلي", "Zoë \"Zed\" Martin", "=HYPERLINK(\"http://example.com\",\"prize\")"]);
    assert.deepEqual(names.slice(9, 15), [...hostile.slice(0, 3), "__proto__", ...hostile.slice(3)]);
    assert.equal(await page.exists("#rows img"), false);
    assert.deepEqual(await page.$$eval("#skipped li", (items) => items.map((item) => item.firstChild.textContent)),
      ["\u2068year7.csv\u2069, line 7: no code in it ", "\u2068Inbox.mbox\u2069, message 5: no code in it ",
        "\u2068pasted text\u2069, line 2: no code in it "]);

    await page.click('th[data-column="time"] button');
    await page.click('th[data-column="time"] button');
    assert.equal(await page.$eval('th[data-column="time"]', (th) => th.ariaSort), "descending");
    assert.deepEqual((await column(page, 3)).slice(0, 2), ["33:24", "33:23"]);
    await page.$eval("#filter", (select) => { select.value = "solved"; select.dispatchEvent(new Event("change")); });
    await page.$eval("#find", (box) => { box.value = "PROTO"; box.dispatchEvent(new Event("input")); });
    assert.deepEqual(await column(page, 2), ["Solved", "Clues 3, 15 fail"]);

    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), "mindlark-csv-"));
    try {
      await browser.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads, browserContextId: page.browserContextId });
      await page.click("#export");
      const file = path.join(downloads, "mindlark-results.csv");
      for (let i = 0; i < 500 && !fs.existsSync(file); i++) await new Promise((resolve) => setTimeout(resolve, 20));
      assert.equal(fs.readFileSync(file, "utf8"), "\ufeff" + [
        ["Place", "Name", "Verdict", "Time", "Age", "Sent", "Notes"],
        ["10", "__proto__", "Solved", "33:22", "30", "", "Sent 2 codes: this one counts."],
        ["", "__proto__", "Clues 3, 15 fail", "2:05", "30", "", "Not counted: another code of this name counts."],
      ].map((row) => row.map((field) => `"${field}"`).join(",")).join("\r\n") + "\r\n");
    } finally {
      fs.rmSync(downloads, { recursive: true, force: true });
    }

    // On paper: the table and its counts, not what takes input.
    await page.send("Emulation.setEmulatedMedia", { media: "print" });
    assert.deepEqual(await page.$$eval("#paste, #counts, .toolbar, #results", (nodes) =>
      nodes.map((node) => node.checkVisibility())), [false, true, false, true]);
    await page.send("Emulation.setEmulatedMedia", { media: "" });

    await page.goto(boardPage); // the board is kept
    assert.equal((await column(page, 1)).length, 21 - 3);
    await page.click("#clear");
    await page.click("#clear-no");
    assert.equal((await column(page, 1)).length, 18);
    await page.click("#clear");
    assert.equal(await textOf(page, "#clear-question"), "Clear the board? Its 21 entries go from this browser, and cannot be brought back.");
    await page.click("#clear-yes");
    assert.deepEqual([await column(page, 1), await page.evaluate(() => localStorage.getItem("mindlark.board"))], [[], null]);
    await done(page);
  });

  it("1,000 pasted entries are judged and shown (a benchmark: the time is reported, not judged)", async (t) => {
    const page = await open(boardPage, "en");
    const { took, judged } = await page.evaluate(measure, bench(1000));
    assert.equal(judged, 1000);
    assert.equal((await column(page, 0)).length, 1000);
    t.diagnostic(`1,000 entries judged and shown in ${took.toFixed(0)} ms`);
    await done(page);
  });

  // Contrast as WCAG reckons it, of two computed rgb() colours.
  function contrast(a, b) {
    const luminance = (rgb) => rgb.match(/[\d.]+/g).slice(0, 3).map((v) => v / 255)
      .map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
      .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
    const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
  }
  const axeSource = fs.readFileSync(path.join(__dirname, "vendor/axe.min.js"), "utf8");

  // axe's findings on the page, and the contrast against the page of the edges
  // of what takes input (`controls`) and of the focus outline (Tab from `from`).
  async function audit(page, controls, from) {
    await page.send("Runtime.evaluate", { expression: axeSource });
    const violations = await page.evaluate(async () =>
      (await axe.run(document, { resultTypes: ["violations"], preload: false })).violations.map((v) => `${v.id}: ${v.nodes[0].html}`));
    await page.focus(from);
    await page.press("Tab");
    const colours = await page.evaluate((selectors) => {
      const paper = getComputedStyle(document.body).backgroundColor;
      return selectors.map((s) => getComputedStyle(document.querySelector(s)).borderTopColor)
        .concat(getComputedStyle(document.activeElement).outlineColor).map((edge) => [edge, paper]);
    }, controls);
    return { violations, weak: colours.filter(([edge, paper]) => contrast(edge, paper) < 3) };
  }

  for (const scheme of ["light", "dark"]) {
    it(`${scheme}: axe finds nothing on the board and the answer page in either language, and controls stand out`, async () => {
      for (const language of ["en", "ar"]) {
        const page = await open("about:blank", language);
        await page.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: scheme }] });
        await page.goto(answerPage);
        await check(page, SWAPPED, true);
        assert.deepEqual(await audit(page, ["#code"], "#code"), { violations: [], weak: [] }, `answer, ${language}`);
        // Arabic has no italics.
        assert.deepEqual(await page.$$eval("body *", (nodes) => nodes.filter((node) =>
          getComputedStyle(node).fontStyle === "italic" && node.closest(":lang(ar)")).length), 0);
        await page.goto(boardPage);
        await addFiles(page, FILES);
        assert.deepEqual(await audit(page, ["#paste", "#find", "#filter", "#export"], "#find"),
          { violations: [], weak: [] }, `board, ${language}`);
        await done(page);
      }
    });
  }

  it("the answer page takes only its two languages, refuses two codes, reads a labelled code and counts in Arabic", async () => {
    for (const asked of ["constructor", "__proto__", "toString"]) {
      const page = await open("about:blank", "en");
      await page.beforeEveryDocument((kept) => localStorage.setItem("mindlark.language", kept), asked);
      await page.goto(`${answerPage}?lang=${asked}`);
      assert.deepEqual(await page.evaluate(() => [document.documentElement.lang, document.querySelector("h1").textContent]),
        ["en", texts.en.answerHeading], asked);
      await done(page);
    }
    const page = await open(`${answerPage}?lang=ar`, "en");
    const cases = [
      [`Code: ${SOLVED}.`, texts.ar.solved],
      [`${SOLVED}\n${SOLVED}`, "فيها شيفرتان: الصق شيفرة واحدة في كل مرة."],
      ["1 2", "فيها 4 أحرف،"], // its first piece's space lost, a code counts one more
    ];
    for (const [code, expected] of cases) {
      await check(page, code, false);
      assert.ok((await textOf(page, "#verdict")).includes(expected), code);
    }
    // The fish's house, named in the verdict, keeps its word and number together.
    await check(page, SOLVED, false);
    assert.ok((await textOf(page, "#verdict")).includes(riddle.ar.houses[3].replace(" ", "\u00a0")));
    // On paper: the result, without the form.
    await page.send("Emulation.setEmulatedMedia", { media: "print" });
    assert.deepEqual(await page.$$eval("form, #verdict, table.grid", (nodes) => nodes.map((node) => node.checkVisibility())),
      [false, true, true]);
    await done(page);
  });

  it("?to= offers a mail to the organiser with the name and code, which the board reads back, and takes one plain address only", async () => {
    const page = await open(`${answerPage}?lang=ar&to=teacher@example.org`, "en");
    await page.$eval("#player-name", (box) => { box.value = "سارة <b>"; box.dispatchEvent(new Event("input")); });
    await check(page, SWAPPED, false);
    const link = new URL(await page.$eval("#send", (a) => a.href));
    assert.equal(`${link.protocol}${link.pathname}`, "mailto:teacher@example.org");
    const mail = `From: Someone <s@example.org>\nDate: Tue, 4 Mar 2025 10:00:00 +0000\nSubject: ${link.searchParams.get("subject")}` +
      `\nContent-Type: text/plain; charset=utf-8\n\n${link.searchParams.get("body")}`;
    const back = board.readInput(mail, "mail.eml");
    await board.readMessage(back.messages[0].bytes, back.messages[0].where, back);
    assert.deepEqual(back.entries.map((entry) => [entry.name, board.judgeEntry(entry).decoded.clock]), [["سارة <b>", "0:02:05"]]);
    await done(page);
    for (const to of ["teacher@example.org?cc=x@example.org", "a@example.org,b@example.org", "javascript:alert(1)//@x.org",
      "teacher@example.org%0d%0aBcc:x@example.org", "teacher@example.org&to=x@example.org"]) {
      const refused = await open(`${answerPage}?to=${to}`, "en");
      await check(refused, SOLVED, false);
      assert.deepEqual(await refused.evaluate(() => [document.getElementById("organiser").hidden,
        document.getElementById("organiser-refused").hidden, Boolean(document.getElementById("send"))]), [true, false, false], to);
      await done(refused);
    }
  });
});
