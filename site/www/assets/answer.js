// The answer page: reads the pasted code, shows its grid, age and time, and the
// verdict, in the chosen language. All wording is set with textContent, so
// nothing pasted is ever taken for markup.
(function (root) {
  "use strict";
  var logic = root.MindlarkAnswer;
  var riddle = root.MindlarkRiddle;
  var page = root.MindlarkPage;
  var checked = null; // the last decoded code, shown again after a switch

  function element(tag, textContent, className) {
    var node = document.createElement(tag);
    if (textContent !== undefined) node.textContent = textContent;
    if (className) node.className = className;
    return node;
  }

  function houseList(houses) {
    var captions = riddle[page.language()].houses;
    return houses.map(function (house) { return captions[house - 1]; })
      .join(page.text("listSeparator"));
  }

  // The game's clue lines, as the game shows them.
  function clueList(numbers) {
    var list = element("ul", undefined, "clues");
    numbers.forEach(function (number) {
      list.appendChild(element("li", riddle[page.language()].clues[number - 1]));
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

  function gridTable(grid) {
    var data = riddle[page.language()];
    var table = element("table", undefined, "grid");
    table.appendChild(element("caption", page.text("gridCaption")));
    var head = table.appendChild(element("thead")).appendChild(element("tr"));
    head.appendChild(element("td"));
    data.houses.forEach(function (house) {
      head.appendChild(element("th", house)).setAttribute("scope", "col");
    });
    var body = table.appendChild(element("tbody"));
    data.attributes.forEach(function (attribute, row) {
      var line = body.appendChild(element("tr"));
      line.appendChild(element("th", attribute)).setAttribute("scope", "row");
      for (var house = 0; house < 5; house++) {
        var index = grid[row * 5 + house];
        line.appendChild(index === -1 ? element("td", page.text("unchosen"), "unchosen")
          : element("td", data.options[row][index]));
      }
    });
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
      if (result.failing.length) {
        verdict.appendChild(element("p", page.text("failingCount", { count: result.failing.length })));
      }
      if (result.nearMiss) verdict.appendChild(element("p", page.text("nearMiss")));
    }
    verdict.appendChild(facts(checked));

    details.appendChild(gridTable(checked.grid));
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
      details.appendChild(clueList(result.failing));
    }
    if (result.open.length) {
      details.appendChild(element("h3", page.text("openHeading")));
      details.appendChild(clueList(result.open));
    }
  }

  function renderClues() {
    var list = document.getElementById("all-clues");
    list.textContent = "";
    list.appendChild(clueList(riddle[page.language()].clues.map(function (clue, i) {
      return i + 1;
    })));
  }

  document.addEventListener("DOMContentLoaded", function () {
    document.getElementById("check-form").addEventListener("submit", function (event) {
      event.preventDefault();
      checked = logic.decode(document.getElementById("code").value);
      render();
    });
    document.getElementById("show-failing").addEventListener("change", render);
  });
  page.onLanguage(function () {
    renderClues();
    render();
  });
})(this);
