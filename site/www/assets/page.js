// What every page shares: the language switch and filling in the wording.
// Elements name their text with data-text (the page's own wording) or
// data-riddle (a caption from the game's tables), their aria-label with data-label.
(function (root) {
  "use strict";
  var texts = root.MindlarkTexts;
  var riddle = root.MindlarkRiddle;
  var listeners = [];
  var current = "en";

  // Only these are ever taken from an address, the browser or its storage: a
  // name such as "constructor" is a property of every object, not a language.
  var LANGUAGES = Object.keys(texts);
  function known(language) { return LANGUAGES.indexOf(language) >= 0 ? language : null; }

  function has(object, name) { return Object.prototype.hasOwnProperty.call(object || {}, name); }

  // A text that depends on a count is a table by the language's plural forms
  // (Arabic has six: one, two, few for 3 to 10, many for 11 to 99, ...).
  function plural(forms, count) {
    var form = new Intl.PluralRules(current).select(Number(count));
    return has(forms, form) ? forms[form] : forms.other;
  }

  // The template's {name} marks replaced by the values given; {name|phrase}
  // by the text's phrase for that count, such as "3 characters".
  function format(template, values) {
    return template.replace(/\{(\w+)(?:\|(\w+))?\}/g, function (mark, name, phrase) {
      if (!has(values, name)) return mark;
      return phrase ? format(plural(texts[current][phrase], values[name]), { n: values[name] })
        : String(values[name]);
    });
  }

  // The page's own text for a key in the current language; one that depends on a
  // count takes its form from values.count.
  function text(key, values) {
    var template = texts[current][key];
    return format(typeof template === "object" ? plural(template, values.count) : template, values);
  }

  // A house's caption, "House 3", never broken between the word and its number.
  function houseName(house) {
    return riddle[current].houses[house - 1].replace(/ /g, "\u00a0");
  }

  // What is wrong with a code that could not be read, as answer-logic.js tells it.
  function codeError(error) {
    var values = {};
    for (var key in error) values[key] = error[key];
    if (error.kind === "notIndex") {
      var data = riddle[current];
      var houses = data.houses.length;
      values.attribute = data.attributes[Math.floor(error.position / houses)];
      values.house = houseName(error.position % houses + 1);
    }
    return text("error_" + error.kind, values);
  }

  // The first of the browser's languages that the pages speak, else English.
  function browserLanguage() {
    var wanted = (root.navigator && root.navigator.languages) || [root.navigator.language || ""];
    for (var i = 0; i < wanted.length; i++) {
      var code = String(wanted[i]).toLowerCase().split("-")[0];
      if (known(code)) return code;
    }
    return "en";
  }

  // The language a link asks for with ?lang=, or null.
  function linkLanguage() {
    var asked = new URLSearchParams(root.location.search).get("lang");
    return known(asked);
  }

  // A browser may refuse the pages its storage; they then just forget the choice.
  var STORED = "mindlark.language";
  function storedLanguage() {
    try {
      var stored = root.localStorage.getItem(STORED);
      return known(stored);
    } catch (refused) {
      return null;
    }
  }

  // Keeps the choice for the next page and the next visit; a ?lang= in the address
  // is changed too, or a reload would undo the choice.
  function remember(language) {
    try {
      root.localStorage.setItem(STORED, language);
    } catch (refused) {
      // Only the next visit forgets it.
    }
    if (linkLanguage() === null || linkLanguage() === language) return;
    try {
      var address = new URL(root.location.href);
      address.searchParams.set("lang", language);
      root.history.replaceState(root.history.state, "", address.href);
    } catch (refused) {
      // A browser that will not change the address leaves a reload to the link's language.
    }
  }

  function setLanguage(language) {
    current = known(language) || "en";
    var html = document.documentElement;
    html.lang = current;
    html.dir = current === "ar" ? "rtl" : "ltr";
    document.querySelectorAll("[data-text]").forEach(function (element) {
      element.textContent = text(element.getAttribute("data-text"));
    });
    document.querySelectorAll("[data-label]").forEach(function (element) {
      element.setAttribute("aria-label", text(element.getAttribute("data-label")));
    });
    document.querySelectorAll("[data-riddle]").forEach(function (element) {
      element.textContent = riddle[current][element.getAttribute("data-riddle")];
    });
    var title = document.querySelector("[data-title]");
    if (title) document.title = text(title.getAttribute("data-title"));
    document.querySelectorAll("button[data-language]").forEach(function (button) {
      button.setAttribute("aria-pressed", String(button.getAttribute("data-language") === current));
    });
    listeners.forEach(function (listener) { listener(current); });
  }

  document.addEventListener("DOMContentLoaded", function () {
    document.querySelectorAll("button[data-language]").forEach(function (button) {
      button.addEventListener("click", function () {
        setLanguage(button.getAttribute("data-language"));
        remember(current);
      });
    });
    // Following a link with ?lang= is a choice of language too.
    var linked = linkLanguage();
    if (linked) remember(linked);
    setLanguage(linked || storedLanguage() || browserLanguage());
  });

  root.MindlarkPage = {
    text: text,
    format: format,
    houseName: houseName,
    codeError: codeError,
    language: function () { return current; },
    // Calls the listener with the language code whenever it is set, at load too.
    onLanguage: function (listener) { listeners.push(listener); },
  };
})(this);
