// The results board's reading and ranking, without a DOM: the board page and the
// node tests share this file. It reads what an organiser collects (pasted lines,
// a spreadsheet's CSV or TSV, saved mail), finds each entry's name, code and
// date, and ranks the entries; answer-logic.js finds, decodes and judges codes.
(function (root) {
  "use strict";
  var inNode = typeof module === "object" && module.exports;
  var logic = inNode ? require("./answer-logic.js") : root.MindlarkAnswer;
  var PostalMime = inNode ? require("./vendor/postal-mime.js") : root.PostalMime;

  // ---- Files ----------------------------------------------------------------

  // A spreadsheet's own format, a picture or a PDF: a NUL byte near the start
  // gives any of them away, and no text file has one.
  function isBinary(bytes) {
    return bytes.subarray(0, 8192).indexOf(0) >= 0;
  }

  // Where windows-1256 keeps its Arabic letters. A CSV saved by a spreadsheet on
  // an Arabic Windows is in that code page; one from elsewhere in windows-1252.
  function isArabicByte(b) {
    return (b >= 0xc1 && b <= 0xda) || (b >= 0xdc && b <= 0xdf) || b === 0xe1 ||
      (b >= 0xe3 && b <= 0xe6) || b === 0xec || b === 0xed;
  }

  // A file's text: { text, encoding }, where encoding is null for UTF-8 and
  // UTF-16 (as spreadsheets write "Unicode text"), or the legacy code page it was
  // read in; null when the file is not text.
  function decodeText(bytes) {
    if (bytes[0] === 0xff && bytes[1] === 0xfe) return { text: new TextDecoder("utf-16le").decode(bytes), encoding: null };
    if (bytes[0] === 0xfe && bytes[1] === 0xff) return { text: new TextDecoder("utf-16be").decode(bytes), encoding: null };
    if (isBinary(bytes)) return null;
    try {
      return { text: new TextDecoder("utf-8", { fatal: true }).decode(bytes), encoding: null };
    } catch (notUtf8) {
      var arabic = 0, other = 0;
      bytes.forEach(function (b) { if (b >= 0xc0) { if (isArabicByte(b)) arabic++; else other++; } });
      var encoding = arabic > other ? "windows-1256" : "windows-1252";
      return { text: new TextDecoder(encoding).decode(bytes), encoding: encoding };
    }
  }

  // Saved mail starts with its header fields, among them From and one of the
  // fields every mail program writes; a list line "Alice: code" does not.
  var FIELD = /^([!-9;-~]+):/;
  var MAIL_FIELDS = /^(date|subject|message-id|received|return-path|mime-version|to|delivered-to)$/;
  function isMail(head) {
    var names = [];
    var lines = head.split(/\r?\n/);
    for (var i = 0; i < lines.length && lines[i] !== ""; i++) {
      var field = FIELD.exec(lines[i]);
      if (field) names.push(field[1].toLowerCase());
      else if (!/^[ \t]/.test(lines[i])) return false;
    }
    return names.indexOf("from") >= 0 && names.some(function (name) { return MAIL_FIELDS.test(name); });
  }

  // The messages of an mbox file (each after its "From " line) or of one saved
  // mail, as byte ranges; null for anything else. The bytes are looked at as
  // Latin-1, one character each, so that offsets stay byte offsets.
  function mailParts(bytes) {
    var head = new TextDecoder("latin1").decode(bytes.subarray(0, 65536));
    if (/^From \S/.test(head) && isMail(head.slice(head.indexOf("\n") + 1))) {
      var all = new TextDecoder("latin1").decode(bytes);
      var starts = [0];
      var envelope = /\nFrom \S/g;
      while (envelope.exec(all)) starts.push(envelope.lastIndex - 6);
      return starts.map(function (start, i) {
        var body = all.indexOf("\n", start) + 1;
        return bytes.subarray(body || start, i + 1 < starts.length ? starts[i + 1] : bytes.length);
      });
    }
    return isMail(head.replace(/^\ufeff/, "")) ? [bytes] : null;
  }

  // ---- Codes in a text ------------------------------------------------------

  // What is left of a line or a field once its code is taken out: the name, less
  // the separators and the "Code:" label around it.
  var LABELS = /(?:your |my |answer )?code(?: is)?[ \t]*[:=]?|(?:شيفرة الجواب|الشيفرة|شيفرتي)[ \t]*[:：]?/giu;
  var EDGE = /[\s,;:|\-–—.。۔"'“”„«»‹›]/;
  function cleanName(text) {
    var name = text.replace(LABELS, " ");
    var start = 0, end = name.length;
    while (start < end && EDGE.test(name[start])) start++;
    while (end > start && EDGE.test(name[end - 1])) end--;
    return name.slice(start, end);
  }

  // Six lone digits with dashes or spaces between: something meant as a code,
  // which find() could not read. decode() then says what is wrong with it.
  var CODE_LIKE = /[0-9](?:[\s>\u00a0-]{1,3}[0-9]){5,}/;

  // An entry read from a text with codes in it, or null when it holds none.
  function entriesIn(text) {
    var found = logic.find(text);
    if (found.length) {
      var rest = text.slice(0, found[0].start);
      found.forEach(function (at, i) {
        rest += " " + text.slice(at.end, i + 1 < found.length ? found[i + 1].start : text.length);
      });
      return { rest: rest, codes: found.map(function (at) { return text.slice(at.start, at.end); }) };
    }
    var broken = CODE_LIKE.exec(text);
    if (!broken) return null;
    return { rest: text.slice(0, broken.index), codes: [text.slice(broken.index)] };
  }

  // One entry per code: codes sent together are noted as such on each.
  function entriesFrom(found, fields) {
    return found.codes.map(function (code) {
      var entry = { name: fields.name, code: code, sent: fields.sent || null, where: fields.where, notes: (fields.notes || []).slice() };
      if (found.codes.length > 1) entry.notes.push({ key: "twoCodes", count: found.codes.length });
      return entry;
    });
  }

  // ---- Lists and spreadsheets -----------------------------------------------

  // The separator of a spreadsheet export: the one of tab, semicolon and comma
  // found on most of the first lines, if it is on most of them.
  function separatorOf(lines) {
    var best = null, most = 0;
    ["\t", ";", ","].forEach(function (candidate) {
      var count = lines.filter(function (line) { return line.indexOf(candidate) >= 0; }).length;
      if (count > most) { best = candidate; most = count; }
    });
    return most * 5 >= lines.length * 3 ? best : null;
  }

  // Records of a CSV or TSV text, quoted fields with separators, quotes and line
  // breaks inside them included; each with the line it starts on.
  function records(text, separator) {
    var out = [], fields = [], field = "", quoted = false, line = 1, startLine = 1;
    for (var i = 0; i <= text.length; i++) {
      var c = text[i];
      if (quoted) {
        if (c === "\"" && text[i + 1] === "\"") { field += "\""; i++; }
        else if (c === "\"") quoted = false;
        else if (c === undefined) { fields.push(field); out.push({ fields: fields, line: startLine }); }
        else { if (c === "\n") line++; field += c; }
      } else if (c === "\"" && field.trim() === "") {
        quoted = true;
        field = "";
      } else if (c === separator) {
        fields.push(field);
        field = "";
      } else if (c === "\n" || c === undefined) {
        fields.push(field.replace(/\r$/, ""));
        out.push({ fields: fields, line: startLine });
        fields = [];
        field = "";
        startLine = ++line;
      } else {
        field += c;
      }
    }
    return out;
  }

  var CODE_HEADING = /code|answer|شيفرة|جواب/i;
  var NAME_HEADING = /name|student|pupil|player|team|اسم|طالب|لاعب|فريق/i;
  var DATE_HEADING = /time|date|sent|submitted|وقت|تاريخ|أرسل|إرسال/i;

  // A date as a mail or a spreadsheet wrote it: as an instant when it reads as
  // one without doubt (a mail's date, or a year first), else the text as it
  // stands, shown but sorted as if missing: 05/03/2025 is May or March.
  function dateOf(text) {
    var value = text.trim();
    if (!value) return null;
    var time = /^\d{1,2}[./-]\d{1,2}[./-]\d/.test(value) ? NaN : Date.parse(value);
    return isNaN(time) ? value : new Date(time).toISOString();
  }

  // Entries from a CSV or TSV export. A first row without a code and with a
  // heading such as "Code" is its heading, and names the name and date columns;
  // without one, the name is whatever else the row holds.
  function readRecords(text, separator, source, result) {
    var rows = records(text, separator);
    var nameColumn = -1, dateColumn = -1;
    var first = rows.findIndex(function (row) { return row.fields.join("").trim() !== ""; });
    var headings = first >= 0 ? rows[first].fields : [];
    if (!entriesIn(headings.join(" ")) && headings.some(function (h) { return CODE_HEADING.test(h); })) {
      headings.forEach(function (heading, i) {
        if (nameColumn < 0 && NAME_HEADING.test(heading)) nameColumn = i;
        else if (dateColumn < 0 && DATE_HEADING.test(heading)) dateColumn = i;
      });
      rows.splice(first, 1);
    }
    rows.forEach(function (row) {
      var where = { source: source, line: row.line };
      var codes = [], rest = [];
      row.fields.forEach(function (field, i) {
        var found = i === dateColumn ? null : entriesIn(field);
        if (found) {
          codes = codes.concat(found.codes);
          rest.push(found.rest);
        } else if (i !== dateColumn) {
          rest.push(field);
        }
      });
      if (!codes.length) return skip(result, row.fields.join(separator), where);
      var name = nameColumn >= 0 ? row.fields[nameColumn] || "" : rest.map(cleanName).filter(Boolean).join(", ");
      var sent = dateColumn >= 0 ? dateOf(row.fields[dateColumn] || "") : null;
      push(result, entriesFrom({ codes: codes }, { name: cleanName(name), sent: sent, where: where }));
    });
  }

  // Entries from plain text: a name and a code on a line, in either order, with
  // any separator. Codes are found in the whole text first, as one may have been
  // broken over two lines; the lines a code touches make its entry.
  function readLines(text, source, result) {
    var starts = [0];
    for (var i = text.indexOf("\n"); i >= 0; i = text.indexOf("\n", i + 1)) starts.push(i + 1);
    var lineAt = function (offset) {
      var low = 0, high = starts.length - 1;
      while (low < high) {
        var middle = (low + high + 1) >> 1;
        if (starts[middle] <= offset) low = middle; else high = middle - 1;
      }
      return low;
    };
    var lineEnd = function (line) { return line + 1 < starts.length ? starts[line + 1] : text.length; };
    var pieces = []; // [first line, last line] of each entry, in order
    logic.find(text).forEach(function (at) {
      var first = lineAt(at.start), last = lineAt(at.end - 1);
      var previous = pieces[pieces.length - 1];
      if (previous && previous[1] >= first) previous[1] = Math.max(previous[1], last);
      else pieces.push([first, last]);
    });
    var line = 0;
    var upTo = function (end) {
      for (; line < end; line++) lonely(text.slice(starts[line], lineEnd(line)), { source: source, line: line + 1 }, result);
    };
    pieces.forEach(function (piece) {
      upTo(piece[0]);
      var found = entriesIn(text.slice(starts[piece[0]], lineEnd(piece[1])));
      push(result, entriesFrom(found, { name: cleanName(found.rest), where: { source: source, line: piece[0] + 1 } }));
      line = piece[1] + 1;
    });
    upTo(starts.length);
  }

  // A line with no code that find() reads: a code that could not be read, with the
  // name before it, or nothing of the kind, skipped. Blank lines are only counted.
  function lonely(line, where, result) {
    if (!line.trim()) return;
    var found = entriesIn(line);
    if (!found) return skip(result, line, where);
    push(result, entriesFrom(found, { name: cleanName(found.rest), where: where }));
  }

  function skip(result, text, where, reason) {
    if (!text.trim()) return;
    result.read++;
    var shown = text.trim();
    result.skipped.push({ reason: reason || "noCode", where: where, text: shown.length > 80 ? shown.slice(0, 79) + "…" : shown });
  }

  function push(result, entries) {
    result.read++;
    entries.forEach(function (entry) { result.entries.push(entry); });
  }

  // ---- Mail -------------------------------------------------------------------

  // Where a plain reply starts quoting: at the line that heads the quoted message,
  // as mail programs write it in English and Arabic.
  function isQuoteHead(line) {
    return (/^-{2,}/.test(line) && /Original Message|Forwarded message|الرسالة الأصلية/i.test(line)) ||
      (/^On\s/.test(line) && /\swrote:$/.test(line)) ||
      (/^في\s/.test(line) && /:$/.test(line) && line.indexOf("كتب") >= 0) ||
      /^(?:From|من)\s*:\s/.test(line) || /^_{8,}$/.test(line);
  }
  function quoteStart(body) {
    for (var at = 0; at < body.length;) {
      var end = body.indexOf("\n", at);
      if (end < 0) end = body.length;
      if (isQuoteHead(body.slice(at, end).trim())) return at;
      at = end + 1;
    }
    return body.length;
  }
  var NAME_LINE = /^[ \t]*(?:Name|الاسم)[ \t]*[:：][ \t]*(\S.*)$/im;

  var ENTITIES = { amp: "&", lt: "<", gt: ">", quot: "\"", apos: "'", nbsp: "\u00a0" };
  function entities(text) {
    return text.replace(/&(#x[0-9a-f]{1,6}|#[0-9]{1,7}|[a-z]{1,8});/gi, function (whole, name) {
      if (name[0] !== "#") return ENTITIES[name.toLowerCase()] || whole;
      var code = name[1] === "x" || name[1] === "X" ? parseInt(name.slice(2), 16) : parseInt(name.slice(1), 10);
      return code > 0 && code <= 0x10ffff ? String.fromCodePoint(code) : whole;
    });
  }

  // The text of a mail that came as html alone: tags dropped, blocks on lines of
  // their own, and lines inside a <blockquote> marked "> ", as a plain reply
  // marks what it quotes. One pass through the html, whatever it holds.
  var BLOCKS = /^(?:p|div|br|tr|li|blockquote|h[1-6]|pre|table|hr)$/;
  function htmlText(html) {
    var lines = [{ text: "", depth: 0 }], depth = 0, skipping = null;
    var newLine = function () { lines.push({ text: "", depth: depth }); };
    for (var at = 0; at < html.length;) {
      var open = html.indexOf("<", at);
      if (open < 0) open = html.length;
      var line = lines[lines.length - 1];
      if (!skipping && open > at) {
        if (!line.text) line.depth = depth;
        line.text += entities(html.slice(at, open).replace(/\s+/g, " "));
      }
      if (html.startsWith("<!--", open)) {
        var end = html.indexOf("-->", open);
        at = end < 0 ? html.length : end + 3;
        continue;
      }
      var close = html.indexOf(">", open);
      if (close < 0) break;
      at = close + 1;
      var tag = /^<(\/?)([a-z0-9]+)/i.exec(html.slice(open, Math.min(close, open + 16)));
      if (!tag) continue;
      var name = tag[2].toLowerCase();
      if (skipping) {
        if (tag[1] && name === skipping) skipping = null;
      } else if (/^(?:script|style|head|title)$/.test(name) && !tag[1]) {
        skipping = name;
      } else if (BLOCKS.test(name)) {
        if (name === "blockquote") depth = Math.max(0, depth + (tag[1] ? -1 : 1));
        newLine();
      }
    }
    return lines.map(function (l) { return (l.depth ? "> " : "") + l.text; }).join("\n");
  }

  // The codes of a mail's body: those it sends, and apart from them those it only
  // quotes from an earlier mail (on "> " lines, or after "On ... wrote:").
  function bodyCodes(body) {
    var quoted = quoteStart(body);
    var own = [], earlier = [];
    logic.find(body).forEach(function (at) {
      var lineStart = body.lastIndexOf("\n", at.start) + 1;
      var isQuoted = at.start >= quoted || /^[ \t]*>/.test(body.slice(lineStart, at.start));
      (isQuoted ? earlier : own).push(body.slice(at.start, at.end));
    });
    var broken = null;
    if (!own.length && !earlier.length) {
      var found = entriesIn(body.slice(0, quoted));
      broken = found && found.codes;
    }
    var name = NAME_LINE.exec(body.slice(0, quoted));
    return { own: own, quoted: earlier, broken: broken, name: name && name[1].trim() };
  }

  // The entries of one saved message: the name it gives on a "Name:" line (as the
  // answer page's mail does), else the sender's; its date; its code.
  function readMessage(bytes, where, result) {
    return PostalMime.parse(bytes).then(function (mail) {
      var body = mail.text || "";
      var codes = bodyCodes(body);
      if (!codes.own.length && !codes.quoted.length && mail.html) codes = bodyCodes(htmlText(mail.html));
      var sender = mail.from || {};
      var fields = {
        name: codes.name || sender.name || sender.address || "",
        sent: mail.date ? dateOf(mail.date) : null,
        where: where,
        notes: [],
      };
      var chosen = codes.own;
      if (!chosen.length && codes.quoted.length) {
        chosen = codes.quoted.slice(0, 1);
        fields.notes.push({ key: "onlyQuoted" });
      } else if (codes.quoted.length) {
        fields.notes.push({ key: "quotedIgnored" });
      }
      if (!chosen.length) chosen = codes.broken || [];
      if (!chosen.length) return skip(result, mail.subject || sender.name || sender.address || "?", where);
      push(result, entriesFrom({ codes: chosen }, fields));
    }, function (error) {
      skip(result, String(error && error.message || error), where, "badMail");
    });
  }

  // ---- Reading ---------------------------------------------------------------

  // Reads one input: a file's bytes or pasted text, named by `source`. Returns
  // { entries, skipped, read, messages } where messages are the mails still to be
  // read with readMessage(), so that a caller can read thousands of them a few at
  // a time. Entries carry { name, code, sent, where, notes }.
  function readInput(input, source) {
    var result = { entries: [], skipped: [], read: 0, messages: [] };
    var bytes = typeof input === "string" ? new TextEncoder().encode(input) : input;
    var mails = mailParts(bytes);
    if (mails) {
      result.messages = mails.map(function (part, i) {
        return { bytes: part, where: { source: source, message: mails.length > 1 ? i + 1 : 0 } };
      });
      return result;
    }
    var decoded = decodeText(bytes);
    if (!decoded) {
      skip(result, source, { source: source }, "notText");
      return result;
    }
    var text = decoded.text.replace(/^\ufeff/, "");
    var firstLines = text.split("\n", 50).filter(function (line) { return line.trim(); });
    var separator = separatorOf(firstLines);
    if (separator) readRecords(text, separator, source, result);
    else readLines(text, source, result);
    if (decoded.encoding) {
      result.entries.forEach(function (entry) { entry.notes.push({ key: "legacyEncoding", encoding: decoded.encoding }); });
    }
    return result;
  }

  // ---- Judging and ranking ------------------------------------------------

  // The verdict on an entry's code: { ok, error } or { ok, decoded, result }.
  function judgeEntry(entry) {
    var decoded = logic.decode(entry.code);
    if (!decoded.ok) return { ok: false, error: decoded.error, solved: false };
    var result = logic.judge(decoded.grid);
    return { ok: true, decoded: decoded, result: result, solved: result.solved };
  }

  // Names that differ only in case, spacing or invisible marks are one person.
  function nameKey(name) {
    return name.normalize("NFKC").replace(/[\u00ad\u061c\u200b-\u200f\u202a-\u202e\u2060-\u2069\ufeff]/g, "")
      .replace(/\s+/g, " ").trim().toLowerCase();
  }

  function sentTime(entry) {
    var time = entry.sent ? Date.parse(entry.sent) : NaN;
    return isNaN(time) ? Infinity : time;
  }

  function bySent(a, b) {
    return a.sent - b.sent || a.index - b.index;
  }

  // The board's rows in ranking order: one per name, counted by its first solved
  // code, else its latest readable one, else its latest; the name's other codes
  // in `others`, oldest first. Solved names come first, fastest first, ties by
  // when sent; then the unsolved, then the unreadable, each by when sent. Each
  // item is { entry, verdict }; verdicts are judged once, by `judged`.
  function rank(entries, judged) {
    var groups = new Map();
    entries.forEach(function (entry, i) {
      var key = nameKey(entry.name);
      if (!key) key = "\u0000" + i; // no name: no one to group with
      if (!groups.has(key)) groups.set(key, []);
      groups.get(key).push({ entry: entry, verdict: judged(entry), index: i, sent: sentTime(entry) });
    });
    var rows = [];
    groups.forEach(function (items) {
      items.sort(bySent);
      var solved = items.filter(function (item) { return item.verdict.solved; });
      var readable = items.filter(function (item) { return item.verdict.ok; });
      var counted = solved[0] || readable[readable.length - 1] || items[items.length - 1];
      rows.push({ item: counted, others: items.filter(function (item) { return item !== counted; }) });
    });
    var tier = function (row) { return row.item.verdict.solved ? 0 : row.item.verdict.ok ? 1 : 2; };
    rows.sort(function (a, b) {
      var difference = tier(a) - tier(b);
      if (difference) return difference;
      if (tier(a) === 0) {
        var sa = a.item.verdict.decoded.seconds, sb = b.item.verdict.decoded.seconds;
        if (sa !== sb) return sa < sb ? -1 : 1;
      }
      return bySent(a.item, b.item);
    });
    var place = 0;
    rows.forEach(function (row) { row.place = row.item.verdict.solved ? ++place : null; });
    return rows;
  }

  // ---- Export -----------------------------------------------------------------

  // A CSV text that spreadsheet programs open right in any script: UTF-8 with a
  // byte order mark, every field quoted, lines ended CR LF. A field that starts
  // like a formula gets a leading apostrophe, so that a name such as
  // "=HYPERLINK(...)" is shown and never run.
  function csvText(table) {
    return "\ufeff" + table.map(function (row) {
      return row.map(function (field) {
        var text = String(field);
        if (/^[=+\-@\t\r]/.test(text)) text = "'" + text;
        return "\"" + text.replace(/"/g, "\"\"") + "\"";
      }).join(",");
    }).join("\r\n") + "\r\n";
  }

  var api = {
    readInput: readInput,
    readMessage: readMessage,
    htmlText: htmlText,
    judgeEntry: judgeEntry,
    nameKey: nameKey,
    rank: rank,
    csvText: csvText,
  };
  if (inNode) module.exports = api;
  else root.MindlarkBoard = api;
})(this);
