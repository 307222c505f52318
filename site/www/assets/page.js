// What every page shares: the language switch and filling in the wording.
// Elements name their text with data-text (the page's own wording) or
// data-riddle (a caption from the game's tables), their aria-label with data-label.
(function (root) {
  "use strict";
  var texts = root.MindlarkTexts;
  var riddle = root.MindlarkRiddle;
  var listeners = [];
  var current = "en";

  // The template's {name} marks replaced by the values given.
  function format(template, values) {
    return template.replace(/\{(\w+)\}/g, function (mark, name) {
      return Object.prototype.hasOwnProperty.call(values || {}, name) ? String(values[name]) : mark;
    });
  }

  // The page's own text for a key in the current language.
  function text(key, values) {
    return format(texts[current][key], values);
  }

  // The first of the browser's languages that the pages speak, else English.
  function browserLanguage() {
    var wanted = (root.navigator && root.navigator.languages) || [root.navigator.language || ""];
    for (var i = 0; i < wanted.length; i++) {
      var code = String(wanted[i]).toLowerCase().split("-")[0];
      if (texts[code]) return code;
    }
    return "en";
  }

  // The language a link asks for with ?lang=, or null.
  function linkLanguage() {
    var asked = new URLSearchParams(root.location.search).get("lang");
    return asked && texts[asked] ? asked : null;
  }

  // A browser may refuse the pages its storage; they then just forget the choice.
  var STORED = "mindlark.language";
  function storedLanguage() {
    try {
      var stored = root.localStorage.getItem(STORED);
      return stored && texts[stored] ? stored : null;
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
    current = texts[language] ? language : "en";
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
    language: function () { return current; },
    // Calls the listener with the language code whenever it is set, at load too.
    onLanguage: function (listener) { listeners.push(listener); },
  };
})(this);
