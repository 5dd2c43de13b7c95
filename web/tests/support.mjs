// What the page's tests share: the built page, Debian's Chromium driven
// over the DevTools protocol, and the batch calculator as the reference.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const webBuild = process.env.KALDORA_WEB_BUILD ?? 'build-web';
export const pageUrl = pathToFileURL(join(webBuild, 'kaldora.html')).href;

const CHROMIUM_FLAGS = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

const BROWSER = { executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_FLAGS };

// Each browser starts with a profile of its own in a fresh folder.
export const launch = () => chromium.launch(BROWSER);
export const launchWithProfile = (profile, locale) => chromium.launchPersistentContext(profile, { ...BROWSER, locale });

// A browser of the test's own, closed when the test ends.
export async function browserContext(t, options) {
  const browser = await launch();
  t.after(() => browser.close());
  return browser.newContext(options);
}

export async function openPriceList(page) {
  await page.click('#PRVI summary');
  await page.click('#CEN');
}

export function tempFolder(t) {
  const folder = mkdtempSync(join(tmpdir(), 'kaldora-web-'));
  t.after(() => rmSync(folder, { recursive: true, force: true }));
  return folder;
}

// A page that fails its test for anything the browser refuses or throws:
// a script error, or something the Content Security Policy blocked.
export async function openPage(t, context, url = pageUrl) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      problems.push(message.text());
    }
  });
  page.on('dialog', (dialog) => problems.push(`a browser dialog: ${dialog.message()}`));
  t.after(() => {
    if (problems.length > 0) {
      throw new Error(`the page reported: ${problems.join(' | ')}`);
    }
  });
  await page.goto(url);
  await until(page, () => performance.getEntriesByName('kaldora-ready').length > 0);
  return page;
}

// Waits until the predicate holds in the page. Playwright's own waiting
// compiles the predicate inside the page, which the page's policy forbids;
// an evaluation over the DevTools protocol is not governed by it.
export async function until(page, predicate, arg) {
  const end = Date.now() + 10000;
  while (!(await page.evaluate(predicate, arg))) {
    if (Date.now() > end) {
      throw new Error(`the page never came to: ${predicate}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 10));
  }
}

export const LOCALES = [
  { locale: 'sr-RS', separator: ',', lcAll: 'sr_RS.UTF-8' },
  { locale: 'en-US', separator: '.', lcAll: 'en_US.UTF-8' },
];

export const OUTPUT_FIELDS = {
  potrosnja_vt: 'Text29', potrosnja_mt: 'Text30', ukupno: 'Text31', dana: 'Text32',
  zona1_vt: 'Text3', zona1_mt: 'Text6', zona2_vt: 'Text7', zona2_mt: 'Text8',
  zona3_vt: 'Text9', zona3_mt: 'Text10', iznos1_vt: 'Text17', iznos1_mt: 'Text18',
  iznos2_vt: 'Text19', iznos2_mt: 'Text20', iznos3_vt: 'Text21', iznos3_mt: 'Text22',
  energija: 'Text23', naknada: 'Text24', snaga: 'Text25', bez_pdv: 'Text26', pdv: 'Text27', sa_pdv: 'Text28',
};

// The batch calculator's bills for the rows, with the given prices, under a
// locale; its own home, so that it never sees the user's price list.
export function referenceBills(t, rows, prices, lcAll) {
  const home = tempFolder(t);
  const header = 'id;novo_vt;novo_mt;staro_vt;staro_mt;datum;prethodni_datum';
  const csv = [header, ...rows.map((r, i) =>
    [`r${i}`, r.novo_vt, r.novo_mt, r.staro_vt, r.staro_mt, r.datum, r.prethodni_datum].join(';'))].join('\n');
  let output;
  try {
    output = execFileSync(process.env.KALDORA_OBRACUN, ['--cene', prices.join(';')], {
      input: `${csv}\n`, encoding: 'utf8', stdio: 'pipe', env: { ...process.env, HOME: home, LC_ALL: lcAll },
    });
  } catch (error) {
    // Exit code 1: some rows got the input error; their bills are still written.
    if (error.status !== 1) {
      throw error;
    }
    output = error.stdout;
  }
  const [names, ...records] = output.trimEnd().split('\n').map((line) => line.split(';'));
  return records.map((fields) => Object.fromEntries(names.map((name, i) => [name, fields[i]])));
}
