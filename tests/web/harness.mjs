// What the browser scenarios stand on: one headless Chromium per node
// process and, for each scenario, a server of its own and a fresh browser
// context (no storage, no service worker, no other tab); the typical use
// that the Windows driver types too; the settings files' records.
//
//   node --test tests/web/                                  every scenario
//   node --test --test-name-pattern=offline tests/web/      one
//
// The site is build-web/site unless TS_WEB_SITE names another folder.
// Without Chromium (CHROME_PATH, else /usr/bin/chromium) or tests/web/
// node_modules (npm ci --prefix tests/web) a file ends with status 77,
// which CTest reports as skipped.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { mkdtemp, readdir, readFile, rm, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { startServer } from './server.mjs';
import { App } from './site.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const missing = [process.env.CHROME_PATH || '/usr/bin/chromium', path.join(here, 'node_modules/puppeteer-core')];
if (!missing.every((file) => existsSync(file))) {
  console.log(`SKIPPED: no ${missing.filter((file) => !existsSync(file)).join(', no ')}`);
  process.exit(77);
}
const siteDir = path.resolve(process.env.TS_WEB_SITE ?? path.join(here, '../../build-web/site'));

let chrome = null;
after(async () => chrome && (await (await chrome).close()));

// A scenario: a node:test case whose body gets its world: url is the
// site's address, work a folder of its own and context the browser context
// its tabs open in, open() opens the site in a new tab (open({ at: address })
// another address of it), anotherDevice() a browser context of its own with
// the same open(), file() writes a file to pick, downloaded() waits for a
// download, stopServer() takes the site off the network, note() prints.
export function scenario(title, body) {
  test(title, { timeout: 120_000 }, async (t) => {
    chrome ??= import('./browser.mjs').then(({ launchBrowser }) => launchBrowser());
    const { browser } = await chrome;
    const work = await mkdtemp(path.join(os.tmpdir(), 'ts-web-'));
    let server = await startServer(siteDir, 0);
    const url = `http://localhost:${server.port}/`;
    const context = await browser.createBrowserContext();
    const others = [];
    const cdp = await browser.target().createCDPSession();
    const errors = [];
    const opener = (where) => (options = {}) =>
      App.open(where, options.at ?? url, {
        ...options,
        onError: (message, { noteOnly = false } = {}) => (noteOnly ? t.diagnostic(message) : errors.push(message)),
      });
    const world = {
      t,
      url,
      work,
      context,
      note: (message) => t.diagnostic(message),
      open: opener(context),
      anotherDevice: async () => {
        const other = await browser.createBrowserContext();
        others.push(other);
        await other.overridePermissions(url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
        return { open: opener(other) };
      },
      stopServer: async () => {
        await server?.close();
        server = null;
      },
      file: async (name, bytes) => {
        await writeFile(path.join(work, name), bytes);
        return path.join(work, name);
      },
      downloaded: async (name) => {
        for (const deadline = Date.now() + 10_000; Date.now() < deadline; ) {
          const names = await readdir(work);
          if (names.includes(name) && !names.some((n) => n.endsWith('.crdownload'))) {
            return readFile(path.join(work, name));
          }
          await new Promise((resolve) => setTimeout(resolve, 50));
        }
        throw new Error(`no download ${name}`);
      },
    };
    try {
      await context.overridePermissions(url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
      await cdp.send('Browser.setDownloadBehavior', {
        behavior: 'allow',
        downloadPath: work,
        browserContextId: context.id,
      });
      await body(world);
    } finally {
      await context.close().catch(() => {});
      await Promise.all(others.map((other) => other.close().catch(() => {})));
      await cdp.detach().catch(() => {});
      await world.stopServer();
      await rm(work, { recursive: true, force: true });
    }
    assert.deepEqual(errors, [], 'errors in the page');
  });
}

// The typical use (tests/typical_use/steps.tsv): what a person enters and
// what the program then shows, and the settings file it saves.
const typicalUseFolder = path.join(here, '../typical_use');
export const goldenPath = path.join(typicalUseFolder, 'typical_use.cfg');
export const golden = readFileSync(goldenPath);
export const typicalUse = { groups: [], rows: [] };
for (const line of readFileSync(path.join(typicalUseFolder, 'steps.tsv'), 'utf8').split(/\r?\n/)) {
  const [key, ...fields] = line.split('\t');
  if (key === 'group') {
    const [name, people, ratio, advance, addend, how] = fields;
    typicalUse.groups.push({ name, people, ratio, advance, addend, how });
  } else if (key === 'total') {
    [typicalUse.total, typicalUse.unit] = fields;
  } else if (key === 'advances') {
    [typicalUse.advances] = fields;
  } else if (key === 'row') {
    typicalUse.rows.push(fields);
  } else if (key === 'totals') {
    typicalUse.totals = Object.fromEntries(['総人数', '総額', '区切額', '余り'].map((label, i) => [label, fields[i]]));
  } else if (key !== '' && !key.startsWith('#')) {
    throw new Error(`steps.tsv: no such line: ${line}`);
  }
}

// The typical party entered the short way (every field typed) and
// calculated with 区切計算.
export async function enterTypicalParty(app) {
  for (const group of typicalUse.groups) {
    await app.addGroup(group);
  }
  await app.enterTotal({ total: typicalUse.total, unit: typicalUse.unit });
  await app.calculate('区切計算');
}

// Settings files: UTF-16LE records, each ending in U+0000; the last field
// of the PEOPLE record is the date of the save.
export const records = (bytes) => Buffer.from(bytes).toString('utf16le').split('\0');
export const utf16Records = (...lines) => Buffer.from(lines.map((line) => `${line}\n\0`).join(''), 'utf16le');
const saveDate = /(?<=^PEOPLE,.*,)[^,\n]*(?=\n?$)/s;

export function today() {
  const now = new Date();
  return { y: now.getFullYear(), m: now.getMonth() + 1, d: now.getDate() };
}

// `actual` holds the records of `expected`, saved today.
export function assertSameSettings(actual, expected, what) {
  assert.ok(actual !== null, `${what}: no settings file`);
  const dateAside = (bytes) => records(bytes).map((record) => record.replace(saveDate, '<date>'));
  assert.deepEqual(dateAside(actual), dateAside(expected), `${what}: the records, date aside`);
  const { y, m, d } = today();
  assert.equal(records(actual).find((r) => r.startsWith('PEOPLE,'))?.match(saveDate)?.[0], `${y}/${m}/${d}`, what);
}

// What zbarimg (Debian's zbar-tools) reads in a picture of a QR code;
// `file` is the scenario's, which writes the picture to read.
export async function decodeQr(file, png) {
  const path = await file('qr.png', png);
  try {
    const { stdout } = await promisify(execFile)('zbarimg', ['--quiet', '--raw', '-Sdisable', '-Sqrcode.enable', path]);
    return stdout.replace(/\n$/, '');
  } catch (error) {
    throw new Error(error.code === 'ENOENT' ? 'no zbarimg: install zbar-tools' : `zbarimg read nothing: ${error.message}`);
  }
}
