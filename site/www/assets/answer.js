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

  function houseList(houses) {
    var captions = riddle[page.language()].houses;
    return houses.map(function (house) { return captions[house - 1]; })
      .join(page.text("listSeparator"));
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

  function errorText(error) {
    var values = {};
    for (var key in error) values[key] = error[key];
    if (error.kind === "notIndex") {
      var data = riddle[page.language()];
      values.attribute = data.attributes[Math.floor(error.position / 5)];
      values.house = data.houses[error.position % 5];
    }
    return page.text("error_" + error.kind, values);
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
    var table = element("table", undefined, "grid");
    table.appendChild(element("caption", page.text("gridCaption")));
    var head = table.appendChild(element("thead")).appendChild(element("tr"));
    var body = table.appendChild(element("tbody"));
    var option = function (row, house) {
      var index = grid[row * 5 + house];
      return index === -1 ? undefined : data.options[row][index];
    };
    var houseClass = function (house) { return house + 1 === named ? "named" : undefined; };
    if (narrow.matches) {
      head.appendChild(header(page.text("house"), "col"));
      data.attributes.forEach(function (attribute) { head.appendChild(header(attribute, "col")); });
      for (var house = 0; house < 5; house++) {
        var line = body.appendChild(element("tr"));
        line.appendChild(header(String(house + 1), "row", houseClass(house)));
        for (var row = 0; row < 5; row++) line.appendChild(cell(option(row, house), row));
      }
    } else {
      head.appendChild(element("td"));
      data.houses.forEach(function (caption, house) {
        head.appendChild(header(caption, "col", houseClass(house)));
      });
      data.attributes.forEach(function (attribute, row) {
        var line = body.appendChild(element("tr"));
        line.appendChild(header(attribute, "row"));
        for (var house = 0; house < 5; house++) line.appendChild(cell(option(row, house), row));
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
      verdict.appendChild(element("p", errorText(checked.error)));
      return;
    }
    var data = riddle[page.language()];
    var result = logic.judge(checked.grid);
    if (result.solved) {
      verdict.appendChild(element("p", page.text("solved"), "good"));
      var owner = checked.grid[logic.NATIONALITY * 5 + result.fishHouse - 1];
      verdict.appendChild(element("p", page.text("fishOwner", {
        nationality: data.options[logic.NATIONALITY][owner],
        house: data.houses[result.fishHouse - 1],
      })));
    } else {
      verdict.appendChild(element("p", page.text("notSolved"), "bad"));
      if (result.rows.length) verdict.appendChild(element("p", page.text("incomplete")));
      var count = result.failing.length;
      if (count) {
        verdict.appendChild(element("p", page.text(count === 1 ? "failingOne" : "failingCount", { count: count })));
      }
      if (result.nearMiss) verdict.appendChild(pointer("nearMiss", "clue4"));
    }
    verdict.appendChild(facts(checked));

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

  function renderClues() {
    var list = document.getElementById("all-clues");
    list.textContent = "";
    list.appendChild(clueList(riddle[page.language()].clues.map(function (clue, i) {
      return i + 1;
    }), false));
  }

  // Scrolls, when it must, so that the verdict and as much of the grid as fits are
  // in view: on a phone the result starts below the code box.
  function reveal() {
    var top = document.getElementById("result-heading").getBoundingClientRect().top;
    var grid = document.querySelector("#details table");
    var bottom = grid ? grid.getBoundingClientRect().bottom
      : document.getElementById("verdict").getBoundingClientRect().bottom;
    var by = Math.min(top, bottom - root.innerHeight + 8);
    if (by > 0) root.scrollBy(0, by);
  }

  function check(text) {
    checkedText = text;
    checked = logic.decode(text);
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
    if (narrow.addEventListener) narrow.addEventListener("change", render);
    root.addEventListener("hashchange", checkFragment);
    checkFragment();
  });
  page.onLanguage(function () {
    renderClues();
    render();
  });
})(this);
