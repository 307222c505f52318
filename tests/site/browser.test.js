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
    for (const file of ["index.html", "answer/index.html", "register/index.html"]) {
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
});
