// Makes the board's mail reader, postal-mime, into one classic script: the pages
// open from disk, where browsers refuse ES modules, and they have no build step.
// The package's CommonJS files go in unchanged, each in a function of its own,
// with the few lines of `require` they need; only their source-map comments are
// left out, as the maps are not shipped.
//   npm pack postal-mime@4.2.0 && tar xzf postal-mime-4.2.0.tgz
//   node site/vendor-postal-mime.js package
"use strict";
const fs = require("node:fs");
const path = require("node:path");

const from = path.resolve(process.argv[2] || "package");
const meta = JSON.parse(fs.readFileSync(path.join(from, "package.json"), "utf8"));
const cjs = path.join(from, "dist/cjs");
const to = path.join(__dirname, "www/assets/vendor");

const modules = fs.readdirSync(cjs).filter((name) => name.endsWith(".js")).sort().map((name) => {
  const source = fs.readFileSync(path.join(cjs, name), "utf8").replace(/^\/\/# sourceMappingURL=.*$/m, "");
  return `  ${JSON.stringify("./" + name)}: function (exports, require, module) {\n${source.trimEnd()}\n  },`;
});

const bundle = `/* ${meta.name} ${meta.version}, ${meta.license}: see postal-mime.LICENSE.txt beside this file.
 * Its CommonJS build (dist/cjs), each file unchanged, joined into one classic script
 * by site/vendor-postal-mime.js in the mindlark sources. Sets PostalMime, or
 * module.exports under node. */
(function (root) {
var sources = {
${modules.join("\n")}
};
var loaded = {};
function require(name) {
  if (!loaded[name]) {
    var module = { exports: {} };
    loaded[name] = module;
    sources[name].call(module.exports, module.exports, require, module);
  }
  return loaded[name].exports;
}
var PostalMime = require("./postal-mime.js");
if (typeof module === "object" && module.exports) module.exports = PostalMime;
else root.PostalMime = PostalMime;
})(this);
`;
fs.writeFileSync(path.join(to, "postal-mime.js"), bundle);
fs.copyFileSync(path.join(from, "LICENSE.txt"), path.join(to, "postal-mime.LICENSE.txt"));
console.log(`wrote ${meta.name} ${meta.version} to ${to}`);
