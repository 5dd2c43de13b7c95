// The page bills exactly as the desktop: random rows, typed into the page
// or opened as links, give field by field the texts the batch calculator
// writes for the same rows and prices, in a Serbian and an English browser.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { LOCALES, OUTPUT_FIELDS, browserContext, openPage, openPriceList, referenceBills, until } from './support.mjs';

const PRICE_LISTS = 4;
const ROWS_PER_LIST = 32;

// A small seeded generator (a linear congruential one), so that a failing
// case can be run again.
function generator(seed) {
  let state = seed;
  const next = () => (state = (state * 48271) % 2147483647) / 2147483647;
  const int = (n) => Math.floor(next() * n);
  return { next, int, pick: (list) => list[int(list.length)] };
}

// What a user may type as a reading: mostly numbers in the locale's
// writing, and now and then something that is no number, or a number at
// the edge of what a double holds.
function reading(r, sep) {
  const other = sep === ',' ? '.' : ',';
  const decimals = (x, places) => x.toFixed(places).replace('.', sep);
  if (r.next() < 0.04) {
    return r.pick(['', 'abc', `${r.int(99)}${other}${r.int(99)}`, `1${sep}2${sep}3`]);
  }
  return r.pick([
    () => String(r.int(100000)), () => String(r.int(3000)), () => decimals(r.next() * 20000, 1 + r.int(3)),
    () => decimals(r.next() * 500, 2), () => decimals(r.next() * 9000, 3), () => ` ${r.int(5000)} `,
    () => `-${r.int(900)}`, () => `${1 + r.int(9)}E${r.int(4)}`, () => `1${sep}5E300`, () => `${1 + r.int(9)}E-3${r.int(3)}${r.int(10)}`,
  ])();
}

const isoDate = (days) => new Date(days * 86400000).toISOString().slice(0, 10);

function makeCases(r, sep) {
  return Array.from({ length: PRICE_LISTS }, () => {
    const prices = Array.from({ length: 6 }, () =>
      (r.int(3) === 0 ? String(1 + r.int(15)) : (r.next() * 15).toFixed(1 + r.int(4)).replace('.', sep)));
    const rows = Array.from({ length: ROWS_PER_LIST }, () => {
      const day = 7000 + r.int(20000);
      return {
        novo_vt: reading(r, sep), novo_mt: reading(r, sep), staro_vt: reading(r, sep), staro_mt: reading(r, sep),
        datum: isoDate(day), prethodni_datum: isoDate(day - r.pick([30, 31, 0, -3, r.int(400)])),
      };
    });
    return { prices, rows };
  });
}

const READING_IDS = { novo_vt: 'Text1', novo_mt: 'Text2', staro_vt: 'Text4', staro_mt: 'Text5', datum: 'DTPicker1', prethodni_datum: 'DTPicker2' };
const PRICE_NAMES = ['zelenavt', 'zelenamt', 'plavavt', 'plavamt', 'crvenavt', 'crvenamt'];

// The page's answer: its message ('' for none) and its 22 result texts.
async function pageBill(page) {
  const [message, ...fields] = await page.evaluate((ids) => [document.getElementById('poruka').open
    ? document.getElementById('poruka-text').textContent : '', ...ids.map((id) => document.getElementById(id).value)],
  Object.values(OUTPUT_FIELDS));
  if (message !== '') {
    await page.click('#poruka-ok');
  }
  return { message, fields };
}

async function setPrices(page, prices) {
  await openPriceList(page);
  for (const [row, price] of prices.entries()) {
    await page.fill(`#Form1-Text${11 + row}`, price);
  }
  await page.click('#Form1-Command1');
  await page.click('#poruka-ok');
}

async function typeRow(page, row) {
  for (const [name, id] of Object.entries(READING_IDS)) {
    await page.fill(`#${id}`, row[name]);
  }
  await page.click('#Command1');
}

async function openLink(page, row, prices, n) {
  const params = new URLSearchParams({ ...row, case: String(n) });
  PRICE_NAMES.forEach((name, i) => params.set(name, prices[i]));
  const billed = await page.evaluate(() => performance.getEntriesByName('kaldora-link-billed').length);
  await page.evaluate((hash) => { location.hash = hash; }, params.toString());
  await until(page, (n) => performance.getEntriesByName('kaldora-link-billed').length > n, billed);
}

for (const { locale, separator, lcAll } of LOCALES) {
  test(`random bills in ${locale} equal the batch calculator's, field by field`, async (t) => {
    const page = await openPage(t, await browserContext(t, { locale }));
    const r = generator(locale === 'sr-RS' ? 2024 : 3031);
    let compared = 0;
    let refused = 0;
    for (const { prices, rows } of makeCases(r, separator)) {
      await setPrices(page, prices);
      const expected = referenceBills(t, rows, prices, lcAll);
      for (const [n, row] of rows.entries()) {
        if (n % 2 === 0) {
          await typeRow(page, row);
        } else {
          await openLink(page, row, prices, n);
        }
        const got = await pageBill(page);
        const what = `${locale} case ${n} ${JSON.stringify(row)} prices ${prices.join(';')}`;
        assert.equal(got.message, expected[n].greska, what);
        if (got.message === '') {
          assert.deepEqual(got.fields, Object.keys(OUTPUT_FIELDS).map((name) => expected[n][name]), what);
        }
        refused += got.message === '' ? 0 : 1;
        ++compared;
      }
    }
    t.diagnostic(`${compared} cases compared in ${locale}, ${refused} of them refused with the message`);
  });
}
