// The results board's speed in Debian's chromium, opened from disk: pasted lists
// of 1,000 and 10,000 entries and an mbox of 1,000 mails, from the press of "Add to the board" to the table
// drawn, and the longest the page went without answering meanwhile.
//   node tests/site/board.bench.js [RUNS]      (CHROMIUM=... for another browser)
// A benchmark, not a test: it prints what it measures and judges nothing.
"use strict";
const path = require("node:path");
const { pathToFileURL } = require("node:url");
const { Browser } = require("./cdp.js");

const boardPage = pathToFileURL(path.resolve(__dirname, "../../site/www/board/index.html")).href;
const runs = Number(process.argv[2]) || 5;

// A class's worth of lines, repeated: solved codes with other counters, and
// grids with two houses' drinks swapped, which fail.
function entries(count) {
  const lines = [];
  for (let i = 0; i < count; i++) {
    const drinks = i % 3 ? "0 2 3 1" : "2 0 3 1";
    lines.push(`Pupil ${i}, 3 4 0- 1 2 1- 2 3 4 0- ${drinks}- 4 2 3- 4 0 1- 1-${10 + (i % 9)}- 4 0 3- 2- ${100 + i}`);
  }
  return lines.join("\n");
}

// The same entries as an mbox export of mails, one entry a message.
function mails(count) {
  return entries(count).split("\n").map((line, i) => {
    const [name, code] = line.split(", ");
    return `From - Tue Mar  4 10:20:00 2025\nFrom: ${name} <p${i}@example.org>\nSubject: answer\n` +
      `Date: Tue, 04 Mar 2025 10:${String(i % 60).padStart(2, "0")}:00 +0200\nMIME-Version: 1.0\n` +
      `Content-Type: text/plain; charset=utf-8\n\nMy code:\n ${code}\n`;
  }).join("\n");
}

// Pastes the text, presses the button and waits for the table; returns the
// milliseconds that took, the longest task meanwhile and how often the
// progress was shown.
function measure(text) {
  return new Promise((resolve) => {
    localStorage.clear();
    const status = document.getElementById("status-text");
    let progress = 0, longest = 0;
    const tasks = new PerformanceObserver((list) => {
      for (const task of list.getEntries()) longest = Math.max(longest, task.duration);
    });
    const watch = new MutationObserver(() => {
      if (!status.textContent.startsWith(document.documentElement.lang === "ar" ? "أُضيف" : "Added")) {
        progress++;
        return;
      }
      const took = performance.now() - start;
      watch.disconnect();
      // Long tasks are reported after they end: let the last one come in.
      setTimeout(() => {
        tasks.disconnect();
        resolve({ took, longest, progress, judged: Number(document.querySelectorAll("#counts dd")[1].textContent) });
      }, 100);
    });
    document.getElementById("paste").value = text;
    let start;
    // The press comes once the box has drawn what was pasted into it.
    requestAnimationFrame(() => setTimeout(() => {
      watch.observe(status, { childList: true, characterData: true, subtree: true });
      tasks.observe({ type: "longtask" });
      start = performance.now();
      document.getElementById("add").click();
    }));
  });
}

async function main() {
  const browser = await Browser.launch(process.env.CHROMIUM || "/usr/bin/chromium");
  try {
    for (const [count, what, make] of [[1000, "lines", entries], [10000, "lines", entries], [1000, "mails", mails]]) {
      const times = [];
      let last;
      for (let run = 0; run < runs; run++) {
        // A fresh page each run: the board would otherwise hold the last run's entries.
        const page = await browser.newPage(1000, 800);
        await page.goto(boardPage);
        last = await page.evaluate(measure, make(count));
        if (last.judged !== count) throw new Error(`${last.judged} codes judged of ${count}`);
        times.push(last.took);
        await page.close();
      }
      times.sort((a, b) => a - b);
      console.log(`${count} ${what}: median ${times[times.length >> 1].toFixed(0)} ms ` +
        `(fastest ${times[0].toFixed(0)}, slowest ${times[times.length - 1].toFixed(0)}) over ${runs} runs; ` +
        `last run: longest task ${last.longest.toFixed(0)} ms, progress shown ${last.progress} times`);
    }
  } finally {
    await browser.close();
  }
}

// The browser test measures 1,000 entries the same way.
module.exports = { entries, measure };
if (require.main === module) main();
