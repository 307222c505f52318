// Just enough of Chromium's DevTools protocol to drive a page from the tests.
// The browser is started with --remote-debugging-pipe: requests go to it on file
// descriptor 3 and answers and events come back on 4, each a JSON text ended by a
// NUL byte. Needs nothing beyond node (18 or later) and the browser itself.
"use strict";
const { spawn } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");

const WAIT_MS = 30000;

// Keys as Chromium expects them: DOM key, physical code, Windows key code, text.
const KEYS = {
  Tab: ["Tab", "Tab", 9, ""],
  Enter: ["Enter", "Enter", 13, "\r"],
  Space: [" ", "Space", 32, " "],
};

class Browser {
  // Starts `executable` headless with a profile of its own, removed by close().
  static async launch(executable) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "mindlark-chromium-"));
    const child = spawn(executable, [
      "--headless=new", "--no-sandbox", "--disable-gpu", `--user-data-dir=${profile}`,
      "--remote-debugging-pipe", "--no-first-run", "--no-default-browser-check",
      "--disable-extensions", "--disable-sync", "--disable-component-update",
      "--mute-audio", "--hide-scrollbars", "--disable-dev-shm-usage", "about:blank",
    ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"], detached: true });
    const browser = new Browser(child, profile);
    try {
      await browser.send("Browser.getVersion");
    } catch (error) {
      await browser.close();
      throw error;
    }
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();   // request id -> { resolve, reject, method }
    this.listeners = new Set(); // (event) => void; called with null once the browser is gone
    this.log = "";
    this.gone = null;           // why the browser can no longer answer
    this.exited = new Promise((resolve) => { child.once("exit", resolve); child.once("error", resolve); });
    child.stderr.on("data", (chunk) => { this.log = (this.log + chunk).slice(-4000); });
    let buffered = Buffer.alloc(0);
    child.stdio[4].on("data", (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      for (let end; (end = buffered.indexOf(0)) >= 0; buffered = buffered.subarray(end + 1)) {
        this.receive(JSON.parse(buffered.subarray(0, end).toString("utf8")));
      }
    });
    const fail = (why) => {
      if (this.gone) return;
      this.gone = new Error(`chromium ${why}\n${this.log}`);
      for (const { reject } of this.pending.values()) reject(this.gone);
      this.pending.clear();
      for (const listener of this.listeners) listener(null);
    };
    child.once("error", (error) => fail(`could not start: ${error.message}`));
    child.once("exit", (code, signal) => fail(`exited (${signal || code})`));
    child.stdio[3].on("error", () => fail("closed its pipe"));
    // Whatever happens to the tests, leave no browser and no profile behind.
    this.onExit = () => { this.kill(); this.removeProfile(); };
    process.once("exit", this.onExit);
  }

  receive(message) {
    const request = this.pending.get(message.id);
    if (message.id === undefined || !request) {
      for (const listener of this.listeners) listener(message);
    } else if (this.pending.delete(message.id) && message.error) {
      request.reject(new Error(`${request.method}: ${message.error.message}`));
    } else {
      request.resolve(message.result);
    }
  }

  send(method, params = {}, sessionId) {
    if (this.gone) return Promise.reject(this.gone);
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + "\0");
    });
  }

  // Resolves with the parameters of the session's next event `method`.
  waitFor(method, sessionId) {
    return new Promise((resolve, reject) => {
      const done = (error, params) => {
        clearTimeout(timer);
        this.listeners.delete(listener);
        if (error) reject(error); else resolve(params);
      };
      const listener = (message) => {
        if (!message) done(this.gone);
        else if (message.method === method && message.sessionId === sessionId) done(null, message.params);
      };
      const timer = setTimeout(() => done(this.gone || new Error(`no ${method} in ${WAIT_MS} ms`)), WAIT_MS);
      this.listeners.add(listener);
    });
  }

  // A tab in a browser context of its own, so that no page sees another's storage.
  async newPage(width, height) {
    const { browserContextId } = await this.send("Target.createBrowserContext");
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank", browserContextId });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, sessionId, browserContextId);
    await page.send("Page.enable");
    await page.send("Emulation.setDeviceMetricsOverride",
      { width, height, deviceScaleFactor: 1, mobile: false });
    return page;
  }

  // Ends the browser's process group: the browser and every helper it started.
  kill() {
    try { process.kill(-this.child.pid, "SIGKILL"); } catch { /* already gone, or never started */ }
  }

  removeProfile() {
    fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5 });
  }

  async close() {
    if (!this.gone) await Promise.race([this.send("Browser.close").catch(() => {}), delay(2000)]);
    this.kill();
    await this.exited;
    this.removeProfile();
    process.removeListener("exit", this.onExit);
  }
}

const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms).unref());

class Page {
  constructor(browser, sessionId, browserContextId) {
    Object.assign(this, { browser, sessionId, browserContextId });
  }

  send(method, params) {
    return this.browser.send(method, params, this.sessionId);
  }

  // Runs `fn(...args)` in the page and returns its (awaited) result as JSON data.
  async evaluate(fn, ...args) {
    const { result, exceptionDetails } = await this.send("Runtime.evaluate", {
      expression: `(${fn})(...${JSON.stringify(args)})`,
      awaitPromise: true,
      returnByValue: true,
    });
    if (exceptionDetails) {
      const thrown = exceptionDetails.exception && exceptionDetails.exception.description;
      throw new Error(thrown || exceptionDetails.text);
    }
    return result.value;
  }

  // fn(element, ...args) on the first element `selector` matches; throws if none does.
  $eval(selector, fn, ...args) {
    return this.evaluate(`(selector, ...args) => {
      const node = document.querySelector(selector);
      if (!node) throw new Error("nothing matches " + selector);
      return (${fn})(node, ...args);
    }`, selector, ...args);
  }

  // fn(elements, ...args) on every element `selector` matches.
  $$eval(selector, fn, ...args) {
    return this.evaluate(`(selector, ...args) =>
      (${fn})([...document.querySelectorAll(selector)], ...args)`, selector, ...args);
  }

  exists(selector) {
    return this.evaluate((s) => document.querySelector(s) !== null, selector);
  }

  // Runs `fn(...args)` in every document the page loads from now on, before its scripts.
  async beforeEveryDocument(fn, ...args) {
    await this.send("Page.addScriptToEvaluateOnNewDocument",
      { source: `(${fn})(...${JSON.stringify(args)})` });
  }

  async goto(url) {
    const loaded = this.browser.waitFor("Page.loadEventFired", this.sessionId);
    loaded.catch(() => {}); // awaited below, unless the navigation fails first
    const { errorText } = await this.send("Page.navigate", { url });
    if (errorText) throw new Error(`${url}: ${errorText}`);
    await loaded;
  }

  focus(selector) {
    return this.$eval(selector, (node) => node.focus());
  }

  // Types into the focused element as an input method commits text.
  type(text) {
    return this.send("Input.insertText", { text });
  }

  async press(name) {
    const [key, code, windowsVirtualKeyCode, text] = KEYS[name];
    const event = { key, code, windowsVirtualKeyCode, nativeVirtualKeyCode: windowsVirtualKeyCode };
    await this.send("Input.dispatchKeyEvent", { type: text ? "keyDown" : "rawKeyDown", text, ...event });
    await this.send("Input.dispatchKeyEvent", { type: "keyUp", ...event });
  }

  // A left click in the middle of the element, brought into view first.
  async click(selector) {
    const { x, y } = await this.$eval(selector, (node) => {
      node.scrollIntoView({ block: "center" });
      const box = node.getBoundingClientRect();
      return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    });
    for (const type of ["mousePressed", "mouseReleased"]) {
      await this.send("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
    }
  }

  // Saves the page's region `clip` ({ x, y, width, height } in CSS pixels) as a PNG;
  // without a clip, what the viewport shows.
  async screenshot(file, clip) {
    const { data } = await this.send("Page.captureScreenshot", clip
      ? { format: "png", clip: { ...clip, scale: 1 }, captureBeyondViewport: true } : { format: "png" });
    fs.writeFileSync(file, Buffer.from(data, "base64"));
  }

  close() {
    return this.browser.send("Target.disposeBrowserContext", { browserContextId: this.browserContextId });
  }
}

module.exports = { Browser };
