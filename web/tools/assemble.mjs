// Makes the one self-contained page, kaldora.html: the markup with the
// style, the calculation's module (its WebAssembly as base64 inside the
// script, since a page opened from a file may load nothing else) and the
// page's script inlined, and a Content Security Policy that allows exactly
// that script, that style and the compiling of WebAssembly. Beside it, the
// files with which a web host lets the page install as an app.
//
//   node assemble.mjs --source web --module build-web/kaldora-bill
//                     --version 1.0.0 --out build-web

import { createHash } from 'node:crypto';
import { copyFileSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { parseArgs } from 'node:util';

const { values: args } = parseArgs({
  options: {
    source: { type: 'string' },
    module: { type: 'string' },
    version: { type: 'string' },
    out: { type: 'string' },
  },
});
for (const name of ['source', 'module', 'version', 'out']) {
  if (!args[name]) {
    throw new Error(`assemble.mjs: --${name} is missing`);
  }
}

const page = (name) => readFileSync(join(args.source, 'page', name), 'utf8');
const icons = join(args.source, '..', 'dist', 'icons', 'hicolor');
const sha256 = (text) => createHash('sha256').update(text).digest('base64');

// A text inlined into an element must not end that element early.
function inline(text, element) {
  if (text.toLowerCase().includes(`</${element}`)) {
    throw new Error(`assemble.mjs: the ${element} would end early`);
  }
  return text;
}

const wasm = readFileSync(`${args.module}.wasm`).toString('base64');
const script = inline(
  `${readFileSync(`${args.module}.js`, 'utf8')}\nconst KALDORA_WASM = "${wasm}";\n${page('kaldora.js')}`,
  'script');
const style = inline(page('kaldora.css'), 'style');
const svg = readFileSync(join(icons, 'scalable', 'apps', 'rs.kaldora.Kaldora.svg'));

const csp = [
  "default-src 'none'",
  `script-src 'sha256-${sha256(script)}' 'wasm-unsafe-eval'`,
  `style-src 'sha256-${sha256(style)}'`,
  'img-src data:',
  "manifest-src 'self'",
  "worker-src 'self'",
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');

const parts = {
  CSP: csp,
  ICON: `data:image/svg+xml;base64,${svg.toString('base64')}`,
  STYLE: style,
  SCRIPT: script,
  VERSION: args.version,
};
// One pass over the template, so that nothing inlined is taken for a part.
const html = page('kaldora.html').replace(/\{\{([A-Z]+)\}\}/g, (_, name) => {
  if (!(name in parts)) {
    throw new Error(`assemble.mjs: no part ${name}`);
  }
  return parts[name];
});

writeFileSync(join(args.out, 'kaldora.html'), html);
// The worker's cache is named after the page it keeps.
const build = createHash('sha256').update(html).digest('hex').slice(0, 16);
writeFileSync(join(args.out, 'kaldora-sw.js'), page('sw.js').replace('{{BUILD}}', build));
writeFileSync(join(args.out, 'manifest.webmanifest'), page('manifest.webmanifest'));
writeFileSync(join(args.out, 'kaldora.svg'), svg);
for (const size of [128, 256]) {
  copyFileSync(join(icons, `${size}x${size}`, 'apps', 'rs.kaldora.Kaldora.png'),
    join(args.out, `kaldora-${size}.png`));
}
