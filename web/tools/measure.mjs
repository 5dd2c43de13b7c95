// Measures the page against its budgets, in Debian's headless Chromium:
// the size of kaldora.html (under 150 KB, under 60 KB gzipped), the time of
// one bill (OBRACUNAJ pressed, the bill on screen; under 1 ms) and the
// first paint of a page opened from a link (the bill shown; under 200 ms).
// Prints medians; exits with 1 when a budget is exceeded.
//
//   node web/tools/measure.mjs    (KALDORA_WEB_BUILD names another build folder)

import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch, pageUrl, until, webBuild } from '../tests/support.mjs';

const LINK = '#novo_vt=1500&novo_mt=500&staro_vt=0&staro_mt=0&datum=2024-03-31&prethodni_datum=2024-03-01';
const LOADS = 21;
const BATCHES = 21;
const BILLS_PER_BATCH = 500;

const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];

const html = readFileSync(join(webBuild, 'kaldora.html'));
const results = [
  ['kaldora.html', html.length / 1024, 150, 'KB'],
  ['kaldora.html gzipped', gzipSync(html, { level: 9 }).length / 1024, 60, 'KB'],
];

const browser = await launch();
try {
  const firstPaints = [];
  const filledPaints = [];
  for (let i = 0; i < LOADS; ++i) {
    const context = await browser.newContext({ locale: 'sr-RS' });
    const page = await context.newPage();
    await page.goto(pageUrl + LINK);
    const marks = ['first-contentful-paint', 'kaldora-link-billed', 'kaldora-link-painted'];
    await until(page, (names) => names.every((name) => performance.getEntriesByName(name).length > 0), marks);
    const [first, billed, painted] = await page.evaluate((names) =>
      names.map((name) => performance.getEntriesByName(name)[0].startTime), marks);
    // A bill made before the first paint shows in it; a later one shows
    // in the first frame after it.
    const filled = billed <= first ? first : painted;
    // The first load also starts the browser's own services; it is not counted.
    if (i > 0) {
      firstPaints.push(first);
      filledPaints.push(filled);
    }
    await context.close();
  }
  results.push(['first contentful paint', median(firstPaints), 200, 'ms']);
  results.push(['first paint showing the bill', median(filledPaints), 200, 'ms']);

  const page = await browser.newPage({ locale: 'sr-RS' });
  await page.goto(pageUrl + LINK);
  await until(page, () => performance.getEntriesByName('kaldora-link-billed').length > 0);
  const perBill = await page.evaluate(([batches, bills]) => {
    const button = document.getElementById('Command1');
    const times = [];
    for (let b = 0; b < batches; ++b) {
      const start = performance.now();
      for (let i = 0; i < bills; ++i) {
        button.click();
      }
      times.push((performance.now() - start) / bills);
    }
    return times;
  }, [BATCHES, BILLS_PER_BATCH]);
  results.push(['one bill (OBRACUNAJ)', median(perBill), 1, 'ms']);
} finally {
  await browser.close();
}

let over = false;
for (const [what, value, budget, unit] of results) {
  const ok = value < budget;
  over ||= !ok;
  console.log(`${what.padEnd(32)} ${value.toFixed(3).padStart(9)} ${unit}  (budget ${budget} ${unit}) ${ok ? 'ok' : 'OVER'}`);
}
process.exit(over ? 1 : 0);
