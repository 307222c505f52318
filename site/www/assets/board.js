// The results board: takes pasted text and files, shows the ranked table, and
// keeps the board in the browser's storage until the organiser clears it.
// Every name, age and file name is set with textContent: nothing an entry holds
// is ever taken for markup.
(function (root) {
  "use strict";
  var logic = root.MindlarkAnswer;
  var board = root.MindlarkBoard;
  var page = root.MindlarkPage;
  var STORED = "mindlark.board";
  // Work is done in slices this long, with the page free to draw and answer in
  // between: ten thousand mails take a while, and the page must not freeze.
  var SLICE_MS = 30;
  var MAIL_BATCH = 200;

  var state = { entries: [], skipped: [], read: 0 };
  var verdicts = new WeakMap();
  var order = { column: "place", descending: false };
  // A table of ten thousand names takes the browser seconds to lay out, and no
  // one reads that far down at once: it is shown a page at a time.
  var PAGE = 1000;
  var limit = PAGE;
  var listed = []; // the rows the filter and the search let through, in order

  function judged(entry) {
    var verdict = verdicts.get(entry);
    if (!verdict) verdicts.set(entry, verdict = board.judgeEntry(entry));
    return verdict;
  }

  function element(tag, text, className) {
    var node = document.createElement(tag);
    if (text !== undefined) node.textContent = text;
    if (className) node.className = className;
    return node;
  }

  function status(text) {
    document.getElementById("status-text").textContent = text;
  }

  // ---- Keeping the board ------------------------------------------------------

  function load() {
    try {
      var kept = JSON.parse(root.localStorage.getItem(STORED) || "null");
      if (!kept || !Array.isArray(kept.entries) || !Array.isArray(kept.skipped)) return;
      state.entries = kept.entries.filter(function (entry) {
        return entry && typeof entry.name === "string" && typeof entry.code === "string" && Array.isArray(entry.notes);
      });
      state.skipped = kept.skipped;
      state.read = Number(kept.read) || 0;
    } catch (refused) {
      // No board kept, or a browser that keeps nothing: an empty board.
    }
  }

  function save() {
    try {
      root.localStorage.setItem(STORED, JSON.stringify(state));
    } catch (refused) {
      status(page.text("storageRefused"));
    }
  }

  // ---- Adding -------------------------------------------------------------------

  function pause() {
    return new Promise(function (resolve) { setTimeout(resolve, 0); });
  }

  // Shows how far the work is, and hands the page back to the browser once a
  // slice's time is up. The total grows once the mails are read, as a mail may
  // hold more than one code.
  function progressor() {
    var bar = document.getElementById("progress");
    var progress = { done: 0, total: 0 }, sliceStart = Date.now();
    progress.step = function (count) {
      progress.done += count;
      if (Date.now() - sliceStart < SLICE_MS) return null;
      bar.hidden = false;
      bar.max = progress.total;
      bar.value = progress.done;
      status(page.text("progress", progress));
      return pause().then(function () { sliceStart = Date.now(); });
    };
    return progress;
  }

  function entryKey(entry) {
    return board.nameKey(entry.name) + "\u0000" + entry.code + "\u0000" + entry.sent;
  }

  // Nothing more can be added while the board reads.
  async function add(inputs) {
    var buttons = document.querySelectorAll("#add, #files");
    buttons.forEach(function (control) { control.disabled = true; });
    try {
      await read(inputs);
    } finally {
      document.getElementById("progress").hidden = true;
      buttons.forEach(function (control) { control.disabled = false; });
    }
  }

  // Reads inputs ({ data: bytes or text, source }) onto the board: the mails a
  // batch at a time, then every new code judged, a slice at a time.
  async function read(inputs) {
    var results = inputs.map(function (input) { return board.readInput(input.data, input.source); });
    var messages = [];
    results.forEach(function (result) {
      result.messages.forEach(function (message) { messages.push({ message: message, result: result }); });
    });
    var progress = progressor();
    var entries = function () { return results.reduce(function (sum, r) { return sum + r.entries.length; }, 0); };
    progress.total = messages.length + entries();
    // Mails are read a batch at a time: the parser waits on the browser for each
    // part's bytes, and those waits overlap. Each lands in its own result first,
    // so that the board keeps the messages' order.
    for (var i = 0; i < messages.length; i += MAIL_BATCH) {
      var batch = messages.slice(i, i + MAIL_BATCH).map(function (item) {
        var own = { entries: [], skipped: [], read: 0 };
        return { item: item, own: own, done: board.readMessage(item.message.bytes, item.message.where, own) };
      });
      for (var b = 0; b < batch.length; b++) {
        var parsed = batch[b];
        await parsed.done;
        parsed.item.result.entries.push.apply(parsed.item.result.entries, parsed.own.entries);
        parsed.item.result.skipped.push.apply(parsed.item.result.skipped, parsed.own.skipped);
        parsed.item.result.read += parsed.own.read;
      }
      await progress.step(batch.length);
    }
    progress.total = messages.length + entries();
    var known = new Set(state.entries.map(entryKey));
    var count = 0, skipped = 0;
    for (var r = 0; r < results.length; r++) {
      var result = results[r];
      count += result.read;
      for (var e = 0; e < result.entries.length; e++) {
        var entry = result.entries[e];
        var key = entryKey(entry);
        if (known.has(key)) {
          state.skipped.push({ reason: "duplicate", where: entry.where, text: entry.name + " " + entry.code.trim() });
          skipped++;
        } else {
          known.add(key);
          judged(entry);
          state.entries.push(entry);
        }
        await progress.step(1);
      }
      result.skipped.forEach(function (item) { state.skipped.push(item); });
      skipped += result.skipped.length;
    }
    state.read += count;
    status(page.text("added", { read: count, skipped: skipped }));
    save();
    render();
  }

  async function addFiles(files) {
    var inputs = [];
    for (var i = 0; i < files.length; i++) {
      try {
        inputs.push({ data: new Uint8Array(await files[i].arrayBuffer()), source: files[i].name });
      } catch (unreadable) {
        // A folder, or a file gone since it was chosen.
        state.skipped.push({ reason: "unreadable", where: { source: files[i].name }, text: files[i].name });
        state.read++;
      }
    }
    await add(inputs);
  }

  // ---- The table ----------------------------------------------------------------

  function verdictText(verdict) {
    if (!verdict.ok) return page.text("verdictUnreadable");
    if (verdict.solved) return page.text("verdictSolved");
    var parts = [];
    if (verdict.result.rows.length) parts.push(page.text("verdictIncomplete"));
    var failing = verdict.result.failing;
    if (failing.length) {
      parts.push(page.text("verdictFailing", { count: failing.length, clues: failing.join(page.text("listSeparator")) }));
    }
    return parts.join(page.text("verdictSeparator"));
  }

  var dates = {};
  function sentText(sent) {
    if (!sent) return "";
    var time = Date.parse(sent);
    if (isNaN(time)) return sent;
    var language = page.language();
    if (!dates[language]) {
      dates[language] = new Intl.DateTimeFormat(language === "ar" ? "ar-u-nu-latn" : "en-GB",
        { dateStyle: "medium", timeStyle: "short" });
    }
    return dates[language].format(new Date(time));
  }

  function notesText(item, row) {
    var notes = [];
    if (!item.verdict.ok) notes.push(page.codeError(item.verdict.error));
    item.entry.notes.forEach(function (note) { notes.push(page.text("note_" + note.key, note)); });
    if (row.others.length) {
      notes.push(item === row.item ? page.text("note_counted", { count: row.others.length + 1 })
        : page.text("note_notCounted"));
    }
    return notes.join(" ");
  }

  // The cells of one line of the table, as text, in the columns' order.
  function cells(item, row) {
    var verdict = item.verdict;
    return [
      item === row.item && row.place ? String(row.place) : "",
      item.entry.name,
      verdictText(verdict),
      verdict.ok ? logic.minutesText(verdict.decoded.seconds) : "",
      verdict.ok ? verdict.decoded.age : "",
      sentText(item.entry.sent),
      notesText(item, row),
    ];
  }

  // Orders of the columns other than the ranking's own.
  var SORT_KEYS = {
    name: function (row) { return row.item.entry.name; },
    verdict: function (row) {
      var v = row.item.verdict;
      return !v.ok ? 1e6 : v.solved ? 0 : 1 + v.result.failing.length + v.result.rows.length * 100;
    },
    time: function (row) { return row.item.verdict.ok ? row.item.verdict.decoded.seconds : null; },
    age: function (row) { return row.item.verdict.ok ? row.item.verdict.decoded.age : ""; },
    sent: function (row) { var t = Date.parse(row.item.entry.sent); return isNaN(t) ? null : t; },
    notes: function (row) { return notesText(row.item, row); },
  };

  function sorted(rows) {
    var key = SORT_KEYS[order.column];
    var ranked = rows.map(function (row, i) { return { row: row, i: i, key: key ? key(row) : i }; });
    var collator = new Intl.Collator(page.language(), { numeric: true });
    var sign = order.descending ? -1 : 1;
    ranked.sort(function (a, b) {
      // What a column lacks (no time, no date) goes last either way.
      if (a.key === null || b.key === null) return a.key === b.key ? a.i - b.i : a.key === null ? 1 : -1;
      var difference = typeof a.key === "string" ? collator.compare(a.key, b.key)
        : a.key < b.key ? -1 : a.key > b.key ? 1 : 0;
      return sign * difference || a.i - b.i;
    });
    return ranked.map(function (x) { return x.row; });
  }

  function visible(row) {
    var filter = document.getElementById("filter").value;
    if (filter === "solved" && !row.item.verdict.solved) return false;
    if (filter === "unsolved" && row.item.verdict.solved) return false;
    var find = board.nameKey(document.getElementById("find").value);
    return !find || board.nameKey(row.item.entry.name).indexOf(find) >= 0;
  }

  var COLUMN_CLASSES = [undefined, undefined, undefined, undefined, "age", "sent", undefined];

  function line(item, row, texts) {
    var tr = element("tr", undefined, item === row.item ? "counted" : "again");
    texts.forEach(function (text, column) {
      var cell = tr.appendChild(element(column === 1 ? "th" : "td", undefined, COLUMN_CLASSES[column]));
      // A name or an age in the other script keeps its own direction, and the
      // column its alignment.
      if (column === 1 || column === 3 || column === 4) cell.appendChild(element("bdi", text));
      else cell.textContent = text;
      if (column === 1) {
        cell.setAttribute("scope", "row");
        if (!text) cell.appendChild(element("span", page.text("noName"), "no-name"));
      }
    });
    return tr;
  }

  function renderCounts(rows) {
    var unreadable = state.entries.filter(function (entry) { return !judged(entry).ok; }).length;
    var counts = [
      ["countRead", state.read],
      ["countJudged", state.entries.length - unreadable],
      ["countUnreadable", unreadable],
      ["countSkipped", state.skipped.length],
      ["countSolved", rows.filter(function (row) { return row.place; }).length],
    ];
    var list = document.getElementById("counts");
    list.textContent = "";
    counts.forEach(function (count) {
      list.appendChild(element("dt", page.text(count[0])));
      list.appendChild(element("dd", String(count[1])));
    });
  }

  function whereText(where) {
    var source = where.source === "" ? page.text("pasted") : where.source;
    if (where.line) return page.text("whereLine", { source: source, line: where.line });
    if (where.message) return page.text("whereMessage", { source: source, message: where.message });
    return page.text("whereFile", { source: source });
  }

  function renderSkipped() {
    var list = document.getElementById("skipped");
    list.textContent = "";
    document.getElementById("skipped-section").hidden = !state.skipped.length;
    var fragment = document.createDocumentFragment();
    state.skipped.forEach(function (item) {
      var li = fragment.appendChild(element("li", whereText(item.where) + ": " + page.text("skip_" + item.reason) + " "));
      li.appendChild(element("q", item.text)).dir = "auto";
    });
    list.appendChild(fragment);
  }

  function render(more) {
    limit = more ? limit + PAGE : PAGE;
    var rows = board.rank(state.entries, judged);
    renderCounts(rows);
    var body = document.getElementById("rows");
    var fragment = document.createDocumentFragment();
    listed = sorted(rows).filter(visible);
    listed.slice(0, limit).forEach(function (row) {
      [row.item].concat(row.others).forEach(function (item) {
        fragment.appendChild(line(item, row, cells(item, row)));
      });
    });
    body.textContent = "";
    body.appendChild(fragment);
    var more = document.getElementById("more");
    more.hidden = listed.length <= limit;
    document.getElementById("shown").textContent =
      page.text("shownOf", { shown: Math.min(limit, listed.length), total: listed.length });
    document.getElementById("results").hidden = !state.entries.length;
    document.getElementById("empty").hidden = state.entries.length > 0;
    document.querySelectorAll("#results th[data-column]").forEach(function (th) {
      var column = th.getAttribute("data-column");
      if (column === order.column) th.setAttribute("aria-sort", order.descending ? "descending" : "ascending");
      else th.removeAttribute("aria-sort");
    });
    renderSkipped();
  }

  // ---- Out ------------------------------------------------------------------------

  function exportCsv() {
    var headings = ["colPlace", "colName", "colVerdict", "colTime", "colAge", "colSent", "colNotes"].map(page.text);
    var table = [headings];
    listed.forEach(function (row) {
      [row.item].concat(row.others).forEach(function (item) { table.push(cells(item, row)); });
    });
    var blob = new Blob([board.csvText(table)], { type: "text/csv;charset=utf-8" });
    var link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = "mindlark-results.csv";
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
  }

  function clearBoard() {
    state = { entries: [], skipped: [], read: 0 };
    try {
      root.localStorage.removeItem(STORED);
    } catch (refused) {
      // Nothing was kept.
    }
    status("");
    render();
  }

  load();
  document.addEventListener("DOMContentLoaded", function () {
    document.getElementById("add").addEventListener("click", function () {
      var box = document.getElementById("paste");
      if (!box.value.trim()) return;
      var text = box.value;
      add([{ data: text, source: "" }]).then(function () { box.value = ""; });
    });
    var files = document.getElementById("files");
    files.addEventListener("change", function () {
      addFiles(files.files).then(function () { files.value = ""; });
    });
    // Files dropped anywhere on the page are read, never opened by the browser.
    document.addEventListener("dragover", function (event) { event.preventDefault(); });
    document.addEventListener("drop", function (event) {
      event.preventDefault();
      if (event.dataTransfer && event.dataTransfer.files.length) addFiles(event.dataTransfer.files);
    });
    document.getElementById("filter").addEventListener("change", function () { render(); });
    document.getElementById("find").addEventListener("input", function () { render(); });
    document.getElementById("show-more").addEventListener("click", function () { render(true); });
    document.querySelectorAll("#results th[data-column] button").forEach(function (button) {
      button.addEventListener("click", function () {
        var column = button.parentNode.getAttribute("data-column");
        order = { column: column, descending: order.column === column && !order.descending };
        render();
      });
    });
    document.getElementById("export").addEventListener("click", exportCsv);
    document.getElementById("print").addEventListener("click", function () { root.print(); });
    var dialog = document.getElementById("confirm-clear");
    document.getElementById("clear").addEventListener("click", function () {
      document.getElementById("clear-question").textContent =
        page.text("clearQuestion", { count: state.entries.length + state.skipped.length });
      dialog.showModal();
    });
    document.getElementById("clear-yes").addEventListener("click", function () {
      dialog.close();
      clearBoard();
    });
    document.getElementById("clear-no").addEventListener("click", function () { dialog.close(); });
  });
  page.onLanguage(function () { render(); });
})(this);
