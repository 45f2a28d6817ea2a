// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times adif-parser-ts parsing one ADIF file: best of N runs, in seconds.
// Usage (from a folder where adif-parser-ts is installed): node adif-parser-ts.js FILE [N]
'use strict';
const { AdifParser } = require(require.resolve('adif-parser-ts', { paths: [process.cwd()] }));
const fs = require('fs');

const file = process.argv[2];
const runs = Number(process.argv[3] || 3);
let best = Infinity;
for (let i = 0; i < runs; ++i) {
    const start = process.hrtime.bigint();
    const parsed = AdifParser.parseAdi(fs.readFileSync(file, 'latin1'));
    const seconds = Number(process.hrtime.bigint() - start) / 1e9;
    if (!parsed.records || parsed.records.length === 0)
        throw new Error('adif-parser-ts found no records in ' + file);
    best = Math.min(best, seconds);
}
console.log(best.toFixed(3));
