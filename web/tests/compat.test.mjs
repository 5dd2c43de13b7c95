// The browser build's number conversions against the desktop's C++
// library: compat_test.cpp, built natively and run.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { tempFolder } from './support.mjs';

const here = fileURLToPath(new URL('.', import.meta.url));

test('the conversions of the browser build read and write as the desktop library does', (t) => {
  const program = join(tempFolder(t), 'compat_test');
  execFileSync('g++', ['-std=c++20', '-O2', '-Wall', '-Wextra', '-Wpedantic', '-Werror',
    `-I${join(here, '..', 'src')}`, join(here, 'compat_test.cpp'), '-o', program]);
  const output = execFileSync(program, { encoding: 'utf8' });
  t.diagnostic(output.trim().split('\n').pop());
  assert.match(output, /^\d+ passed, 0 failed$/m);
});
