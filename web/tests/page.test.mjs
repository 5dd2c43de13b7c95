// The page around the bill: links, the kept price list, the layout on a
// phone and a desktop, accessibility, and the app a web host offers.

import assert from 'node:assert/strict';
import { createReadStream, mkdirSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { test } from 'node:test';
import { browserContext, launchWithProfile, openPage, openPriceList, pageUrl, tempFolder, until, webBuild } from './support.mjs';

const values = (page, ids) => page.evaluate((list) => list.map((id) => document.getElementById(id).value), ids);
const PRICE_IDS = [11, 12, 13, 14, 15, 16].map((n) => `Text${n}`);

// The bill of 1500 and 500 kWh in 30 days at the first prices, as the
// window shows it.
const LINK = '#novo_vt=1500&novo_mt=500&staro_vt=0&staro_mt=0&datum=2024-03-31&prethodni_datum=2024-03-01';

test('a link bills at once when the page opens; one with a date that does not exist is refused, not guessed at', async (t) => {
  const page = await openPage(t, await browserContext(t, { locale: 'sr-RS' }), pageUrl + LINK);
  const results = ['Text3', 'Text6', 'Text7', 'Text8', 'Text9', 'Text10', 'Text23', 'Text27', 'Text28', 'Text32'];
  const bill = ['262', '87', '937', '312', '300', '100', '9286,06', '1755,69', '11509,5', '30'];
  assert.deepEqual(await values(page, results), bill);
  await page.evaluate((hash) => { location.hash = hash; }, LINK.replace('2024-03-01', '2024-02-30'));
  await until(page, () => document.getElementById('poruka').open);
  assert.equal(await page.textContent('#poruka-text'), 'DATUM PRETHODNOG OCITAVANJA NIJE ISPRAVAN!!!');
  await page.click('#poruka-ok');
  await until(page, () => document.activeElement.id === 'DTPicker2');
  assert.deepEqual(await values(page, results), bill, 'the earlier bill stays, as in the window');
});

test('markup and script in a link only ever show as text', async (t) => {
  const page = await openPage(t, await browserContext(t, { locale: 'sr-RS' }));
  const elements = await page.evaluate(() => document.getElementsByTagName('*').length);
  const payloads = ['<img src=x onerror="window.kaldoraHacked=1">', '<script>window.kaldoraHacked=1</script>',
    '"><svg onload="window.kaldoraHacked=1">', 'javascript:window.kaldoraHacked=1'];
  for (const [n, payload] of payloads.entries()) {
    for (const [name, id, message] of [['novo_vt', 'Text1', /NISTE UPISALI BROJ/], ['zelenamt', 'Text12', /^CENA ZELENA ZONA M\.T\. NIJE BROJ: "/]]) {
      const params = new URLSearchParams({ [name]: payload, case: `${n}${name}` });
      await page.evaluate((hash) => { location.hash = hash; }, params.toString());
      await until(page, () => document.getElementById('poruka').open);
      assert.equal(await page.inputValue(`#${id}`), payload);
      const shown = await page.evaluate(() => [document.getElementById('poruka-text').textContent,
        document.getElementById('poruka-text').children.length]);
      assert.match(shown[0], message);
      assert.equal(shown[1], 0);
      await page.click('#poruka-ok');
      await page.fill(`#${id}`, name === 'zelenamt' ? '1,55' : '');
    }
  }
  assert.equal(await page.evaluate(() => window.kaldoraHacked), undefined);
  assert.equal(await page.evaluate(() => document.getElementsByTagName('*').length), elements);
});

test('the price list is kept across a reload, written as the locale of the browser that shows it', async (t) => {
  const profile = tempFolder(t);
  const serbian = await launchWithProfile(profile, 'sr-RS');
  const page = await openPage(t, serbian);
  const first = await values(page, PRICE_IDS);
  await openPriceList(page);
  assert.deepEqual(await values(page, PRICE_IDS.map((id) => `Form1-${id}`)), first);
  await page.fill('#Form1-Text11', '5,25');
  await page.fill('#Form1-Text16', '12');
  await page.click('#Form1-Command1');
  assert.equal(await page.textContent('#poruka-text'), 'CENOVNIK JE IZMENJEN');
  await page.click('#poruka-ok');
  await page.reload();
  await until(page, () => performance.getEntriesByName('kaldora-ready').length > 0);
  assert.deepEqual(await values(page, PRICE_IDS), ['5,25', ...first.slice(1, 5), '12']);
  await serbian.close();

  const english = await launchWithProfile(profile, 'en-US');
  t.after(() => english.close());
  const again = await openPage(t, english);
  assert.deepEqual(await values(again, PRICE_IDS), ['5.25', ...first.slice(1, 5).map((p) => p.replace(',', '.')), '12']);
});

test('a price that is no number is refused, and nothing of the list is kept', async (t) => {
  const page = await openPage(t, await browserContext(t, { locale: 'sr-RS' }));
  const before = await values(page, PRICE_IDS);
  await openPriceList(page);
  await page.fill('#Form1-Text11', '7,5');
  await page.fill('#Form1-Text12', 'abc');
  await page.fill('#Form1-Text14', '2.33');
  await page.click('#Form1-Command1');
  assert.equal(await page.textContent('#poruka-text'), 'CENA ZELENA ZONA M.T. NIJE SACUVANA: "abc" NIJE BROJ.\n' +
    'CENA PLAVA ZONA M.T. NIJE SACUVANA: "2.33" NIJE BROJ.\nU CENOVNIKU OSTAJU STARE CENE.');
  await page.click('#poruka-ok');
  // The focus goes to the first refused price, in the list that stays open.
  await until(page, () => document.activeElement.id === 'Form1-Text12');
  assert.equal(await page.evaluate(() => document.getElementById('Form1').open), true);
  assert.deepEqual(await values(page, PRICE_IDS), before);
  await page.reload();
  await until(page, () => performance.getEntriesByName('kaldora-ready').length > 0);
  assert.deepEqual(await values(page, PRICE_IDS), before);

  // The reset brings back what a new price list starts with.
  await openPriceList(page);
  await page.fill('#Form1-Text13', '99');
  await page.click('#Form1-reset');
  assert.deepEqual(await values(page, PRICE_IDS.map((id) => `Form1-${id}`)), before);
});

test('the keyboard alone fills the readings and runs OBRACUNAJ', async (t) => {
  const page = await openPage(t, await browserContext(t, { locale: 'en-US' }));
  await page.focus('#Text1');
  await page.keyboard.type('1200');
  let steps = 0;
  while (await page.evaluate(() => document.activeElement.id) !== 'Command1' && steps++ < 100) {
    await page.keyboard.press('Tab');
  }
  await page.keyboard.press('Enter');
  assert.equal(await page.textContent('#poruka-text'), 'NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!');
  await page.keyboard.press('Enter');
  assert.deepEqual(await values(page, ['Text1', 'Text2', 'Text4', 'Text5']), ['1200', '0', '0', '0']);
  await until(page, () => document.activeElement.id === 'Text1');
});

// Also leaves the pictures in build-web/screenshots, for a person to look at.
test('a phone shows all without sideways scrolling, and the accessibility scan finds nothing at either width', async (t) => {
  const shots = join(webBuild, 'screenshots');
  mkdirSync(shots, { recursive: true });
  const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  for (const [name, width, height] of [['phone', 360, 740], ['desktop', 1280, 800]]) {
    const page = await openPage(t, await browserContext(t, { locale: 'sr-RS', viewport: { width, height } }), pageUrl + LINK);
    // Evaluated over the DevTools protocol, which the page's policy does
    // not govern, so the page keeps its policy while it is scanned.
    await page.evaluate(axe);
    const scan = async (what) => {
      const result = await page.evaluate(() => window.axe.run(document));
      assert.ok(result.passes.length >= 10, 'the scan ran its checks');
      assert.deepEqual(result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), [], `${what} ${name}`);
      assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), width, `${what} ${name}`);
    };
    await page.screenshot({ path: join(shots, `${name}.png`), fullPage: true });
    await scan('main window');
    await openPriceList(page);
    await page.screenshot({ path: join(shots, `${name}-cenovnik.png`) });
    await scan('price list');
    await page.fill('#Form1-Text11', 'x');
    await page.click('#Form1-Command1');
    await scan('message');
  }
});

test('served from a web host the page installs as an app that works offline; from a file it does not try', async (t) => {
  const types = { html: 'text/html', js: 'text/javascript', webmanifest: 'application/manifest+json', svg: 'image/svg+xml', png: 'image/png' };
  const server = createServer((request, response) => {
    const name = new URL(request.url, 'http://host').pathname.slice(1);
    const type = types[name.split('.').pop()];
    if (!/^[\w.-]+$/.test(name) || !type) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'content-type': type });
    createReadStream(join(webBuild, name)).on('error', () => response.end()).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  t.after(() => server.close());

  const context = await browserContext(t, { locale: 'sr-RS' });
  const page = await openPage(t, context, `http://127.0.0.1:${server.address().port}/kaldora.html`);
  const manifest = await page.evaluate(() => document.querySelector('link[rel=manifest]').href);
  assert.equal(JSON.parse(await (await page.request.get(manifest)).text()).name, 'KALDORA');
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.goto(page.url() + LINK);
  await until(page, () => document.getElementById('Text28').value === '11509,5');

  const local = await openPage(t, await browserContext(t, {}));
  assert.equal(await local.evaluate(() => document.querySelectorAll('link[rel=manifest]').length), 0);
});
