// The answer page: reads the pasted code, shows its grid, age and time, and the
// verdict, in the chosen language. All wording is set with textContent, so
// nothing pasted is ever taken for markup.
(function (root) {
  "use strict";
  var logic = root.MindlarkAnswer;
  var riddle = root.MindlarkRiddle;
  var page = root.MindlarkPage;
  var checked = null; // the last decoded code, shown again after a switch
  var checkedText = ""; // and the text it was decoded from
  // A phone's width cannot hold five houses side by side with their longest
  // options, so there the grid turns: one house per row. The width matches the
  // style sheet's narrow layout.
  var narrow = root.matchMedia ? root.matchMedia("(max-width: 36rem)") : { matches: false };

  // An organiser who collects the answers links here with ?to=ADDRESS: the page
  // then asks for the player's name and offers a mail to that address with the
  // name and code filled in. Only one plain address is taken: nothing that a mail
  // link could read as a second recipient, a header or another scheme.
  var ADDRESS = /^[\p{L}\p{N}._+-]{1,64}@[\p{L}\p{N}-]{1,63}(?:\.[\p{L}\p{N}-]{1,63})+$/u;
  var asked = new URLSearchParams(root.location.search).getAll("to");
  var organiser = asked.length === 1 && ADDRESS.test(asked[0]) ? asked[0] : null;

  function element(tag, textContent, className) {
    var node = document.createElement(tag);
    if (textContent !== undefined) node.textContent = textContent;
    if (className) node.className = className;
    return node;
  }

  // A paragraph that ends with a link to one of the explanations below the clues.
  function pointer(key, target) {
    var paragraph = element("p", page.text(key) + " ", "note");
    var link = paragraph.appendChild(element("a", page.text("see_" + target)));
    link.href = "#" + target;
    return paragraph;
  }

  var houseName = page.houseName;

  function houseList(houses) {
    return houses.map(houseName).join(page.text("listSeparator"));
  }

  // The game's clue lines, as the game shows them. The Arabic wording of clue 15
  // is not what the page checks, so when it fails there it says so.
  function clueList(numbers, failing) {
    var list = element("ul", undefined, "clues");
    numbers.forEach(function (number) {
      var item = list.appendChild(element("li", riddle[page.language()].clues[number - 1]));
      if (failing && number === 15 && page.language() === "ar") {
        item.appendChild(pointer("clue15Note", "clue15"));
      }
    });
    return list;
  }

  // One list's choice; the colours are drawn in the colour the game gives them.
  function cell(option, row) {
    if (option !== undefined) return element("td", option, row === 0 ? "color" : undefined);
    // A dash alone is read out as nothing.
    var blank = element("td", undefined, "unchosen");
    blank.appendChild(element("span", page.text("unchosen"))).setAttribute("aria-hidden", "true");
    blank.appendChild(element("span", page.text("unchosenSpoken"), "visually-hidden"));
    return blank;
  }

  function header(text, scope, className) {
    var th = element("th", text, className);
    th.setAttribute("scope", scope);
    return th;
  }

  // The grid as the game's pane shows it, houses side by side; on a narrow screen
  // one house per row, numbered under a "House" heading. `named` is the house the
  // verdict names, or null.
  function gridTable(grid, named) {
    var data = riddle[page.language()];
    var houses = data.houses.length;
    var table = element("table", undefined, "grid");
    table.appendChild(element("caption", page.text("gridCaption")));
    var head = table.appendChild(element("thead")).appendChild(element("tr"));
    var body = table.appendChild(element("tbody"));
    var option = function (row, house) {
      var index = grid[row * houses + house];
      return index === -1 ? undefined : data.options[row][index];
    };
    var houseClass = function (house) { return house + 1 === named ? "named" : undefined; };
    if (narrow.matches) {
      head.appendChild(header(page.text("house"), "col"));
      data.attributes.forEach(function (attribute) { head.appendChild(header(attribute, "col")); });
      for (var house = 0; house < houses; house++) {
        var line = body.appendChild(element("tr"));
        line.appendChild(header(String(house + 1), "row", houseClass(house)));
        for (var row = 0; row < data.attributes.length; row++) line.appendChild(cell(option(row, house), row));
      }
    } else {
      head.appendChild(element("td"));
      data.houses.forEach(function (caption, house) {
        head.appendChild(header(houseName(house + 1), "col", houseClass(house)));
      });
      data.attributes.forEach(function (attribute, row) {
        var line = body.appendChild(element("tr"));
        line.appendChild(header(attribute, "row"));
        for (var house = 0; house < houses; house++) line.appendChild(cell(option(row, house), row));
      });
    }
    return table;
  }

  function facts(decoded) {
    var list = element("dl", undefined, "facts");
    list.appendChild(element("dt", page.text("age")));
    list.appendChild(decoded.age === "" ? element("dd", page.text("ageEmpty"))
      : element("dd", decoded.age, "age"));
    list.appendChild(element("dt", page.text("time")));
    var time = list.appendChild(element("dd", decoded.clock));
    time.dir = "ltr";
    return list;
  }

  function render() {
    var verdict = document.getElementById("verdict");
    var details = document.getElementById("details");
    verdict.textContent = "";
    details.textContent = "";
    if (checked === null) {
      verdict.appendChild(element("p", page.text("noResult")));
      return;
    }
    if (!checked.ok) {
      // An empty box is no attempt at a code, so it only gets the hint.
      if (checked.error.kind !== "empty") {
        verdict.appendChild(element("p", page.text("notCode"), "bad"));
      }
      verdict.appendChild(element("p", page.codeError(checked.error)));
      return;
    }
    var data = riddle[page.language()];
    var result = logic.judge(checked.grid);
    if (result.solved) {
      verdict.appendChild(element("p", page.text("solved"), "good"));
      var owner = checked.grid[logic.NATIONALITY * data.houses.length + result.fishHouse - 1];
      verdict.appendChild(element("p", page.text("fishOwner", {
        nationality: data.options[logic.NATIONALITY][owner],
        house: houseName(result.fishHouse),
      })));
    } else {
      verdict.appendChild(element("p", page.text("notSolved"), "bad"));
      if (result.rows.length) verdict.appendChild(element("p", page.text("incomplete")));
      if (result.failing.length) {
        verdict.appendChild(element("p", page.text("failing", { count: result.failing.length })));
      }
      if (result.nearMiss) verdict.appendChild(pointer("nearMiss", "clue4"));
    }
    verdict.appendChild(facts(checked));
    if (organiser) {
      var send = verdict.appendChild(element("p")).appendChild(element("a", page.text("sendToOrganiser")));
      send.id = "send";
      send.href = mailLink();
    }

    details.appendChild(gridTable(checked.grid, result.solved ? result.fishHouse : null));
    var link = details.appendChild(element("p", undefined, "note"))
      .appendChild(element("a", page.text("codeLink")));
    link.href = "#code=" + encodeURIComponent(checkedText);
    if (result.rows.length) {
      details.appendChild(element("h3", page.text("rowsHeading")));
      var rows = details.appendChild(element("ul"));
      result.rows.forEach(function (problem) {
        var attribute = data.attributes[problem.row];
        if (problem.unchosen.length) {
          rows.appendChild(element("li", page.text("rowUnchosen", {
            attribute: attribute, houses: houseList(problem.unchosen),
          })));
        }
        problem.repeated.forEach(function (repeat) {
          rows.appendChild(element("li", page.text("rowRepeated", {
            attribute: attribute,
            option: data.options[problem.row][repeat.option],
            houses: houseList(repeat.houses),
          })));
        });
      });
    }
    if (result.solved || (!result.failing.length && !result.open.length)) return;
    if (!document.getElementById("show-failing").checked) {
      details.appendChild(element("p", page.text("askFailing")));
      return;
    }
    if (result.failing.length) {
      details.appendChild(element("h3", page.text("failingHeading")));
      details.appendChild(clueList(result.failing, true));
    }
    if (result.open.length) {
      details.appendChild(element("h3", page.text("openHeading")));
      details.appendChild(clueList(result.open, false));
    }
  }

  // The mail to the organiser, in the player's language, which the results board
  // reads back: the name on a line of its own, and the code as found in the box.
  function mailLink() {
    var name = document.getElementById("player-name").value.trim();
    var found = logic.find(checkedText)[0];
    var code = found ? checkedText.slice(found.start, found.end) : checkedText.trim();
    var subject = name ? page.text("mailSubject", { name: name }) : page.text("mailSubjectAnonymous");
    var body = (name ? page.text("mailName", { name: name }) + "\r\n" : "") +
      page.text("mailCode", { code: code }) + "\r\n";
    var at = organiser.lastIndexOf("@");
    return "mailto:" + encodeURIComponent(organiser.slice(0, at)) + "@" +
      encodeURIComponent(organiser.slice(at + 1)) + "?subject=" + encodeURIComponent(subject) +
      "&body=" + encodeURIComponent(body);
  }

  function renderOrganiser() {
    document.getElementById("organiser").hidden = !organiser;
    var refused = document.getElementById("organiser-refused");
    refused.hidden = !asked.length || organiser !== null;
    if (!refused.hidden) {
      var shown = asked.join(", ");
      refused.textContent = page.text("organiserRefused",
        { address: shown.length > 60 ? shown.slice(0, 56) + "…" : shown });
    }
  }

  function renderClues() {
    var list = document.getElementById("all-clues");
    list.textContent = "";
    list.appendChild(clueList(riddle[page.language()].clues.map(function (clue, i) {
      return i + 1;
    }), false));
  }

  // Scrolls, when it must, so that the verdict and as much as fits of what follows
  // it, down to the clues that fail when they are shown, are in view: on a phone
  // the result starts below the code box.
  function reveal() {
    var top = document.getElementById("result-heading").getBoundingClientRect().top;
    var last = document.querySelector("#details ul.clues") || document.querySelector("#details table") ||
      document.getElementById("verdict");
    var bottom = last.getBoundingClientRect().bottom;
    var by = Math.min(top, bottom - root.innerHeight + 8);
    if (by > 0) root.scrollBy(0, by);
  }

  function check(text) {
    checkedText = text;
    checked = logic.read(text);
    render();
    reveal();
  }

  // A link's #code=... fills the box and checks it. The text goes into the box's
  // value, so it is never markup either.
  function checkFragment() {
    var hash = root.location.hash;
    if (hash.slice(0, 6) !== "#code=") return;
    var text = hash.slice(6);
    try {
      text = decodeURIComponent(text);
    } catch (malformed) {
      // Not percent-encoded as a whole: check it as it stands.
    }
    document.getElementById("code").value = text;
    check(text);
  }

  document.addEventListener("DOMContentLoaded", function () {
    var box = document.getElementById("code");
    document.getElementById("check-form").addEventListener("submit", function (event) {
      event.preventDefault();
      check(box.value);
    });
    // Codes are pasted, not typed: Enter checks, as in a one-line box. Shift+Enter
    // still breaks a line, for an age that holds one.
    box.addEventListener("keydown", function (event) {
      if (event.key !== "Enter" || event.shiftKey || event.isComposing) return;
      event.preventDefault();
      check(box.value);
    });
    document.getElementById("show-failing").addEventListener("change", render);
    document.getElementById("player-name").addEventListener("input", function () {
      var send = document.getElementById("send");
      if (send) send.href = mailLink();
    });
    if (narrow.addEventListener) narrow.addEventListener("change", render);
    root.addEventListener("hashchange", checkFragment);
    checkFragment();
  });
  page.onLanguage(function () {
    renderOrganiser();
    renderClues();
    render();
  });
})(this);
