// The page's part of KALDORA: it moves texts between the controls and the
// desktop's calculation, which runs as WebAssembly (createKaldoraBill,
// built from src/billing). Every step of the bill happens there; this
// script only reads the controls, shows the answers and keeps the prices.
//
// Texts from a link, from storage or from the calculation are only ever set
// as control values or text content, never parsed as markup.

/* global createKaldoraBill, KALDORA_WASM */
(() => {
  'use strict';

  const $ = (id) => document.getElementById(id);

  // The batch calculator's column names, and the price list's, for the
  // controls they fill.
  const COLUMNS = {
    novo_vt: 'Text1', novo_mt: 'Text2', staro_vt: 'Text4', staro_mt: 'Text5',
    datum: 'DTPicker1', prethodni_datum: 'DTPicker2',
    zelenavt: 'Text11', zelenamt: 'Text12', plavavt: 'Text13',
    plavamt: 'Text14', crvenavt: 'Text15', crvenamt: 'Text16',
  };
  const PRICE_COLUMNS = ['zelenavt', 'zelenamt', 'plavavt', 'plavamt', 'crvenavt', 'crvenamt'];
  const PRICES = PRICE_COLUMNS.map((name) => COLUMNS[name]);
  // Input slots of the calculation: the four readings, then the prices.
  const READINGS = ['Text1', 'Text2', 'Text4', 'Text5'];
  const READING_NUMBERS = [1, 2, 4, 5];
  const FIRST_PRICE_SLOT = READINGS.length;
  // Every text field the bill writes.
  const RESULTS = [3, 6, 7, 8, 9, 10, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32];

  const STORAGE_KEY = 'kaldora.cenovnik';
  // The caption of a message box that names none of its own.
  const APPLICATION_TITLE = 'Obracun';
  const ERROR_CAPTION = 'GRESKA';
  const APPLIED = 'CENOVNIK JE IZMENJEN';
  const PERIOD_DAYS = 30;

  // The decimal separator of the browser's language, as the desktop takes
  // it from the system's: a comma for Serbian, a point for English.
  const SEPARATOR = new Intl.NumberFormat(navigator.language).formatToParts(1.5)
    .some((part) => part.type === 'decimal' && part.value === ',') ? ',' : '.';
  const STORED_SEPARATOR = '.';

  const encoder = new TextEncoder();
  const decoder = new TextDecoder();

  // The calculation, once its module is running.
  class Calculation {
    constructor(module) {
      this.m = module;
    }

    put(slot, text) {
      const bytes = encoder.encode(text);
      const at = this.m._kaldora_input(slot, bytes.length);
      this.m.HEAPU8.set(bytes, at);
    }

    // A text answer, or null.
    take(at) {
      return at ? decoder.decode(this.m.HEAPU8.subarray(at, at + this.m._kaldora_length())) : null;
    }

    // Bills the texts; the message, '' when the bill is on the sheet.
    bill(readings, prices, datum, prethodniDatum) {
      readings.forEach((text, i) => this.put(i, text));
      prices.forEach((text, row) => this.put(FIRST_PRICE_SLOT + row, text));
      return this.take(this.m._kaldora_bill(SEPARATOR.charCodeAt(0), ...datum, ...prethodniDatum));
    }

    text(number) { return this.take(this.m._kaldora_text(number)); }
    focusTarget() { return this.take(this.m._kaldora_focus()); }
    priceName(row) { return this.take(this.m._kaldora_price_name(row)); }
    defaultPrice(row) { return this.take(this.m._kaldora_default_price(row, SEPARATOR.charCodeAt(0))); }

    // A price text read with one separator and written with another; null
    // when it is no number.
    price(row, text, from, to) {
      this.put(FIRST_PRICE_SLOT + row, text);
      return this.take(this.m._kaldora_price(row, from.charCodeAt(0), to.charCodeAt(0)));
    }
  }

  let calculation = null;

  // The message box: one text, one OK button; the focus goes where the
  // program sends it once the box is closed.
  let afterMessage = null;
  function showMessage(text, caption, focusId) {
    $('poruka-caption').textContent = caption;
    $('poruka-text').textContent = text;
    afterMessage = focusId ? $(focusId) : null;
    $('poruka').showModal();
    $('poruka-ok').focus();
  }
  $('poruka-ok').addEventListener('click', () => $('poruka').close());
  $('poruka').addEventListener('close', () => {
    if (afterMessage) {
      afterMessage.focus();
    }
  });

  // "2024-03-31" as [year, month, day]; a date the picker does not hold
  // reaches the calculation as day 0, which it refuses.
  function dateOf(id) {
    const parts = /^(\d{4})-(\d{2})-(\d{2})$/.exec($(id).value);
    return parts ? parts.slice(1).map(Number) : [0, 0, 0];
  }

  function isoDate(date) {
    const pad = (n, width) => String(n).padStart(width, '0');
    return `${pad(date.getFullYear(), 4)}-${pad(date.getMonth() + 1, 2)}-${pad(date.getDate(), 2)}`;
  }

  // The inputs as a link: the batch calculator's columns and the prices.
  function rememberInLink() {
    const params = new URLSearchParams();
    for (const [name, id] of Object.entries(COLUMNS)) {
      params.set(name, $(id).value);
    }
    history.replaceState(null, '', `#${params.toString()}`);
  }

  // OBRACUNAJ.
  function obracunaj() {
    if (!calculation) {
      return;
    }
    const message = calculation.bill(READINGS.map((id) => $(id).value), PRICES.map((id) => $(id).value),
      dateOf('DTPicker1'), dateOf('DTPicker2'));
    const billed = message === '';
    // After the reading check the calculation has put "0" into the empty
    // readings; the results of an earlier bill stay, as in the window.
    for (const number of billed ? READING_NUMBERS.concat(RESULTS) : READING_NUMBERS) {
      const text = calculation.text(number);
      if (text !== null) {
        $(`Text${number}`).value = text;
      }
    }
    if (billed) {
      rememberInLink();
    } else {
      showMessage(message, ERROR_CAPTION, calculation.focusTarget());
    }
  }

  // A link's inputs, each only as a value; a link that names none of the
  // columns bills nothing.
  function billFromLink() {
    const params = new URLSearchParams(location.hash.slice(1));
    let named = false;
    for (const [name, id] of Object.entries(COLUMNS)) {
      if (params.has(name)) {
        $(id).value = params.get(name);
        named = true;
      }
    }
    if (named) {
      obracunaj();
      performance.mark('kaldora-link-billed');
      // The first moment after the frame that shows the bill.
      requestAnimationFrame(() => setTimeout(() => performance.mark('kaldora-link-painted')));
    }
  }

  // The stored price list: six texts written with a point, or null when
  // nothing (usable) is stored or storage cannot be read.
  function storedPrices() {
    let stored;
    try {
      stored = JSON.parse(localStorage.getItem(STORAGE_KEY));
    } catch {
      return null;
    }
    if (!stored || typeof stored !== 'object') {
      return null;
    }
    const texts = PRICE_COLUMNS.map((name) => stored[name]);
    return texts.every((text) => typeof text === 'string') ? texts : null;
  }

  // The prices as the price list shows them: stored ones in the locale's
  // writing (another text that found its way into storage as it is), or
  // the defaults.
  function priceListTexts() {
    const stored = storedPrices();
    return PRICE_COLUMNS.map((_, row) => {
      if (!stored) {
        return calculation.defaultPrice(row);
      }
      const shown = calculation.price(row, stored[row], STORED_SEPARATOR, SEPARATOR);
      return shown === null ? stored[row] : shown;
    });
  }

  function fill(ids, texts) {
    ids.forEach((id, i) => { $(id).value = texts[i]; });
  }

  const FORM1_PRICES = PRICES.map((id) => `Form1-${id}`);

  function showPriceList() {
    fill(FORM1_PRICES, priceListTexts());
    $('Form1').showModal();
    $(FORM1_PRICES[0]).focus();
  }

  // PROMENI CENOVNIK of the price list: every price must be a number; then
  // all six are kept, handed to the main window unchanged, and confirmed.
  function applyPriceList() {
    const texts = FORM1_PRICES.map((id) => $(id).value);
    const stored = texts.map((text, row) => calculation.price(row, text, SEPARATOR, STORED_SEPARATOR));
    const refused = stored.flatMap((text, row) => (text === null ? [row] : []));
    if (refused.length > 0) {
      const lines = refused.map((row) => `CENA ${calculation.priceName(row)} NIJE SACUVANA: "${texts[row]}" NIJE BROJ.`);
      lines.push('U CENOVNIKU OSTAJU STARE CENE.');
      showMessage(lines.join('\n'), APPLICATION_TITLE, FORM1_PRICES[refused[0]]);
      return;
    }
    let message = APPLIED;
    try {
      localStorage.setItem(STORAGE_KEY, JSON.stringify(Object.fromEntries(PRICE_COLUMNS.map((name, row) => [name, stored[row]]))));
    } catch (error) {
      message = `CENOVNIK NIJE SACUVAN U PREGLEDACU (${error.name}). NOVE CENE VAZE DOK JE STRANICA OTVORENA.`;
    }
    fill(PRICES, texts);
    $('Form1').close();
    showMessage(message, APPLICATION_TITLE, 'Command1');
  }

  // Only a pick from the list is echoed beside a combo box, not typing.
  function echoPick(combo, label) {
    $(combo).addEventListener('input', (event) => {
      if (!(event instanceof InputEvent) || event.inputType === 'insertReplacementText') {
        $(label).textContent = $(combo).value;
      }
    });
  }

  // An open menu closes when anything else is clicked, or on Escape.
  function closeMenus(event) {
    for (const menu of document.querySelectorAll('.menubar details[open]')) {
      if (event.type === 'keydown' ? event.key === 'Escape' : !menu.contains(event.target)) {
        menu.open = false;
      }
    }
  }

  function menuItem(id, action) {
    $(id).addEventListener('click', () => {
      $(id).closest('details').open = false;
      action();
    });
  }

  // Served from a web host, the page installs as an app that works
  // offline; opened from a file it needs neither.
  function offerInstall() {
    if (location.protocol !== 'https:' && location.protocol !== 'http:') {
      return;
    }
    const manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.append(manifest);
    if ('serviceWorker' in navigator) {
      // A host that carries only the page has no worker to register: the
      // page then works as it does from a file, so the failure is let go.
      navigator.serviceWorker.register('kaldora-sw.js').catch(() => {});
    }
  }

  const today = new Date();
  $('DTPicker1').value = isoDate(today);
  $('DTPicker2').value = isoDate(new Date(today.getFullYear(), today.getMonth(), today.getDate() - PERIOD_DAYS));
  $('Command1').addEventListener('click', obracunaj);
  menuItem('DRU', obracunaj);
  menuItem('CEN', showPriceList);
  menuItem('TRECE', () => $('frmAbout').showModal());
  $('cmdOK').addEventListener('click', () => $('frmAbout').close());
  $('Form1-Command1').addEventListener('click', applyPriceList);
  $('Form1-reset').addEventListener('click', () => fill(FORM1_PRICES, PRICES.map((_, row) => calculation.defaultPrice(row))));
  $('Form1-close').addEventListener('click', () => $('Form1').close());
  echoPick('Combo1', 'Label18');
  echoPick('Combo2', 'Label19');
  window.addEventListener('hashchange', billFromLink);
  document.addEventListener('click', closeMenus);
  document.addEventListener('keydown', closeMenus);
  offerInstall();

  // The module's bytes, carried in the page as base64.
  function moduleBytes() {
    if (Uint8Array.fromBase64) {
      return Uint8Array.fromBase64(KALDORA_WASM);
    }
    const text = atob(KALDORA_WASM);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) {
      bytes[i] = text.charCodeAt(i);
    }
    return bytes;
  }

  // The module is small enough to compile at once, before the page is
  // first painted, so that the first paint already shows a link's bill; a
  // browser that compiles only in the background gets it a little later.
  function instantiateWasm(imports, started) {
    const bytes = moduleBytes();
    try {
      started(new WebAssembly.Instance(new WebAssembly.Module(bytes), imports));
    } catch {
      WebAssembly.instantiate(bytes, imports).then((result) => started(result.instance));
    }
    return {};
  }

  createKaldoraBill({ instantiateWasm }).then((module) => {
    calculation = new Calculation(module);
    fill(PRICES, priceListTexts());
    performance.mark('kaldora-ready');
    billFromLink();
  }).catch((error) => {
    showMessage(`RACUN NE MOZE DA SE IZRACUNA U OVOM PREGLEDACU (${error}).`, ERROR_CAPTION, null);
  });
})();
