// Browser tests of the web edition: the roads a person takes through the
// site, end to end, in headless Chromium.
//
//   node tests/web/run.mjs <siteDir> <typical_use.cfg>
//
// Prints one line per check and "web: N passed, N failed"; exits 1 when any
// check failed. The program's logic has its own tests in C++; these check
// that the page drives it and shows it as the desktop windows do, stores the
// party, works offline and is usable on a phone.
import { readFile, writeFile, mkdtemp, rm, readdir } from 'node:fs/promises';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { startServer } from './server.mjs';
import { launchBrowser, waitReady, readStoredFile } from './browser.mjs';

const require = createRequire(import.meta.url);

const [siteDir, goldenPath] = process.argv.slice(2);
if (!siteDir || !goldenPath) {
  console.error('usage: node tests/web/run.mjs <siteDir> <typical_use.cfg>');
  process.exit(2);
}

const WAIT = 5_000;

// ---------------------------------------------------------------------------
// Selectors. Control ids repeat across windows, so every control is looked
// up inside its window.

const MAIN = 'main[data-template-id="101"]';
const GROUP = 'dialog[data-template-id="103"][open]';
const TOTAL = 'dialog[data-template-id="104"][open]';
const BOX = 'dialog[role="alertdialog"][open]';
const MENU = 'dialog.ts-menu[open]';
const main = (id) => `${MAIN} [data-control-id="${id}"]`;
const group = (id) => `${GROUP} [data-control-id="${id}"]`;
const total = (id) => `${TOTAL} [data-control-id="${id}"]`;
const ROWS = `${main(1000)} tbody tr`;
const OK = 1;
const CANCEL = 2;

// ---------------------------------------------------------------------------
// Checks that gather every mismatch of a road before it is reported.

class Road {
  constructor() {
    this.failures = [];
    this.notes = [];
  }
  expect(condition, message) {
    if (!condition) {
      this.failures.push(message);
    }
    return Boolean(condition);
  }
  same(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    return this.expect(a === e, `${what}: ${a}, expected ${e}`);
  }
  note(message) {
    this.notes.push(message);
  }
}

class Stop extends Error {}

// ---------------------------------------------------------------------------
// Page helpers.

function trimAscii(text) {
  return text.replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, '');
}

async function textOf(page, selector) {
  const handle = await page.$(selector);
  if (handle === null) {
    throw new Stop(`no ${selector}`);
  }
  const text = await handle.evaluate((element) =>
    element instanceof HTMLInputElement ||
    element instanceof HTMLTextAreaElement ||
    element instanceof HTMLSelectElement
      ? element.value
      : element.textContent,
  );
  await handle.dispose();
  return trimAscii(text);
}

async function rows(page) {
  const cells = await page.$$eval(ROWS, (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
  return cells.map((row) => row.map(trimAscii));
}

async function outputs(page, ids = [1028, 1019, 1029, 1027]) {
  const values = {};
  for (const id of ids) {
    values[id] = await textOf(page, main(id));
  }
  return values;
}

async function waitFor(page, what, fn, ...args) {
  try {
    await page.waitForFunction(fn, { timeout: WAIT }, ...args);
  } catch {
    throw new Stop(`timed out waiting for ${what}`);
  }
}

async function waitShown(page, selector, what = selector) {
  try {
    await page.waitForSelector(selector, { visible: true, timeout: WAIT });
  } catch {
    throw new Stop(`timed out waiting for ${what}`);
  }
}

async function waitGone(page, selector, what = selector) {
  await waitFor(page, `${what} to close`, (s) => document.querySelector(s) === null, selector);
}

async function waitRowCount(page, count) {
  await waitFor(page, `${count} list rows`, (s, n) => document.querySelectorAll(s).length === n, ROWS, count);
}

async function click(page, selector) {
  const handle = await page.$(selector);
  if (handle === null) {
    throw new Stop(`no ${selector} to press`);
  }
  await handle.click();
  await handle.dispose();
}

// Replaces a field's text the way a person does: select it all, delete,
// type. Characters without a key (full-width digits, kana) are typed as
// text input.
async function typeInto(page, selector, text) {
  const handle = await page.$(selector);
  if (handle === null) {
    throw new Stop(`no field ${selector}`);
  }
  await handle.click();
  await handle.evaluate((element) => element.select());
  await page.keyboard.press('Backspace');
  if (text !== '') {
    await page.keyboard.type(text);
  }
  await handle.dispose();
}

async function waitValue(page, selector, value, what) {
  await waitFor(
    page,
    `${what} to read ${JSON.stringify(value)}`,
    (s, v) => document.querySelector(s)?.value === v,
    selector,
    value,
  );
}

// The message box that an action brings up: its caption and text.
async function takeBox(page, what) {
  await waitShown(page, BOX, `a message box (${what})`);
  return page.$eval(BOX, (box) => ({
    caption: box.querySelector('.ts-caption')?.textContent.trim() ?? null,
    text: box.querySelector('.ts-message-text')?.textContent.trim() ?? null,
    answers: [...box.querySelectorAll('button[data-answer]')].map((b) => b.dataset.answer),
  }));
}

async function answerBox(page, answer) {
  await click(page, `${BOX} button[data-answer="${answer}"]`);
  await waitGone(page, BOX, 'the message box');
}

async function openMenu(page) {
  await click(page, `${MAIN} button[data-menu-for="1000"]`);
  await waitShown(page, MENU, 'the list menu');
}

async function choose(page, command) {
  await openMenu(page);
  await click(page, `${MENU} button[role="menuitem"][data-command="${command}"]`);
}

async function captionOf(page, dialogSelector) {
  return page.$eval(dialogSelector, (dialog) => {
    const labelled = dialog.getAttribute('aria-labelledby');
    const byId = labelled ? document.getElementById(labelled)?.textContent : null;
    return (byId ?? dialog.querySelector('.ts-caption')?.textContent ?? dialog.getAttribute('aria-label') ?? '').trim();
  });
}

// Adds a group through the group dialog: a party for the roads that need one.
async function addGroup(page, name, people, advance) {
  const before = (await page.$$(ROWS)).length;
  await click(page, main(1015));
  await waitShown(page, GROUP, 'the group dialog');
  await typeInto(page, group(1009), name);
  await typeInto(page, group(1021), String(people));
  await typeInto(page, group(1020), String(advance));
  await click(page, group(OK));
  await waitGone(page, GROUP, 'the group dialog');
  await waitRowCount(page, before + 1);
}

// The stored settings file once a save has landed: waits until it differs
// from `previous` (or exists), since saving to IndexedDB runs after the
// command that changed the party.
async function storedAfterSave(page, previous = null) {
  const deadline = Date.now() + WAIT;
  for (;;) {
    const stored = await readStoredFile(page);
    if (
      stored !== null &&
      (previous === null || stored.timestamp !== previous.timestamp || !sameBytes(stored, previous))
    ) {
      return stored;
    }
    if (Date.now() > deadline) {
      throw new Stop(
        stored === null ? 'nothing stored in IndexedDB "/data" under /data/ts.cfg' : 'the stored file did not change',
      );
    }
    await delay(100);
  }
}

function sameBytes(a, b) {
  return JSON.stringify(a?.bytes) === JSON.stringify(b?.bytes);
}

function delay(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

function watchErrors(page, road) {
  page.on('pageerror', (error) => road.expect(false, `uncaught error in the page: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      const where = message.location()?.url;
      road.note(`console error: ${message.text()}${where ? ` (${where})` : ''}`);
    }
  });
}

// ---------------------------------------------------------------------------
// Settings files. Records are UTF-16LE, each ending in U+0000; the PEOPLE
// record's last field is the save date.

function records(bytes) {
  const text = Buffer.from(bytes).toString('utf16le');
  return text.split('\0');
}

function withoutSaveDate(bytes) {
  return records(bytes).map((record) =>
    record.startsWith('PEOPLE,') ? record.replace(/,[^,\n]*(\n?)$/, ',<date>$1') : record,
  );
}

function saveDateOf(bytes) {
  const people = records(bytes).find((record) => record.startsWith('PEOPLE,'));
  return people?.match(/,([^,\n]*)\n?$/)?.[1] ?? null;
}

function today() {
  const now = new Date();
  return { y: now.getFullYear(), m: now.getMonth() + 1, d: now.getDate() };
}

function compareDateAside(road, stored, golden, what) {
  const a = withoutSaveDate(stored);
  const b = withoutSaveDate(golden);
  if (JSON.stringify(a) !== JSON.stringify(b)) {
    road.expect(false, `${what}: records ${JSON.stringify(a)}, expected ${JSON.stringify(b)}`);
    return;
  }
  const { y, m, d } = today();
  const date = saveDateOf(stored);
  road.expect(date === `${y}/${m}/${d}`, `${what}: save date ${JSON.stringify(date)}, expected today ${y}/${m}/${d}`);
}

function utf16Records(...lines) {
  return Buffer.from(lines.map((line) => `${line}\n\0`).join(''), 'utf16le');
}

// A deterministic stream of bytes that is no settings file.
function randomBytes(count, seed) {
  const bytes = Buffer.alloc(count);
  let x = seed >>> 0;
  for (let i = 0; i < count; i++) {
    x ^= x << 13;
    x ^= x >>> 17;
    x ^= x << 5;
    bytes[i] = x & 0xff;
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// The run.

const EXPECTED_ROWS = [
  ['幹事チーム', '2人', '100%', '3500円', '3000円', '0円\u3000\u3000'],
  ['ゲスト 田中', '3人', '90%', '1000円', '3000円', '2000円払う'],
];
const EXPECTED_OUTPUTS = { 1028: '5人', 1019: '12345円', 1029: '1000円', 1027: '3155円' };
const GOLDEN_PARTY = EXPECTED_ROWS.map((row) => row.slice(0, 4));

const golden = await readFile(goldenPath);
const work = await mkdtemp(path.join(os.tmpdir(), 'ts-web-run-'));
let server = await startServer(siteDir, 0);
const port = server.port;
const url = `http://localhost:${port}/`;
const chrome = await launchBrowser();
const { browser } = chrome;
const cdp = await browser.target().createCDPSession();

let passed = 0;
let failed = 0;
// What the roads so far have got to; a road that builds on another's
// state is not run without it.
const reached = new Set();

async function check(name, needs, body) {
  const road = new Road();
  const missing = needs.filter((other) => !reached.has(other));
  if (missing.length > 0) {
    road.expect(false, `not run: needs ${missing.map((m) => `"${m}"`).join(', ')}`);
  } else {
    const started = Date.now();
    try {
      await body(road);
    } catch (error) {
      road.expect(false, error instanceof Stop ? error.message : `error: ${error.stack ?? error}`);
    }
    road.elapsed = Date.now() - started;
  }
  const ok = road.failures.length === 0;
  if (ok) {
    reached.add(name);
    passed++;
    console.log(`ok   ${name}${road.elapsed !== undefined ? ` (${(road.elapsed / 1000).toFixed(1)} s)` : ''}`);
  } else {
    failed++;
    console.log(`FAIL ${name}: ${road.failures.join('; ')}`);
  }
  for (const note of road.notes) {
    console.log(`     note: ${note.replace(/\s*\n\s*/g, ' / ')}`);
  }
}

async function freshContext() {
  const context = await browser.createBrowserContext();
  const downloads = path.join(work, `downloads-${Math.random().toString(36).slice(2)}`);
  await cdp.send('Browser.setDownloadBehavior', {
    behavior: 'allow',
    downloadPath: downloads,
    browserContextId: context.id,
    eventsEnabled: true,
  });
  return { context, downloads };
}

async function openSite(context, road, viewport = { width: 1280, height: 800 }) {
  const page = await context.newPage();
  watchErrors(page, road);
  await page.setViewport(viewport);
  await page.goto(url, { waitUntil: 'load' });
  try {
    await waitReady(page);
  } catch {
    throw new Stop('the main window never became ready (body data-ready="1")');
  }
  return page;
}

// Waits for a download of `name` to finish in `folder` and returns its bytes.
async function downloaded(folder, name) {
  const deadline = Date.now() + WAIT;
  for (;;) {
    let names = [];
    try {
      names = await readdir(folder);
    } catch {
      // The folder appears with the first download.
    }
    if (names.includes(name) && !names.some((n) => n.endsWith('.crdownload'))) {
      return readFile(path.join(folder, name));
    }
    if (Date.now() > deadline) {
      throw new Stop(`no download ${name} (the folder holds ${JSON.stringify(names)})`);
    }
    await delay(100);
  }
}

async function importFile(page, file) {
  await openMenu(page);
  let chooser;
  try {
    [chooser] = await Promise.all([
      page.waitForFileChooser({ timeout: WAIT }),
      click(page, `${MENU} button[role="menuitem"][data-command="40006"]`),
    ]);
  } catch (error) {
    throw error instanceof Stop ? error : new Stop('設定ファイルを読み込む… opened no file chooser');
  }
  await chooser.accept([file]);
}

// The typical party's roads go on in one context: it is entered, stored,
// changed, reloaded, loaded offline, exported and copied.
const typical = await freshContext();
let typicalPage = null;
let typicalStored = null;

try {
  await check('typical use', [], async (road) => {
    const page = await openSite(typical.context, road);
    typicalPage = page;
    road.same(await rows(page), [], 'rows at first start');
    road.same(await outputs(page, [1028, 1029]), { 1028: '0人', 1029: '100円' }, 'outputs at first start');

    await click(page, main(1015));
    await waitShown(page, GROUP, 'the group dialog on 追加');
    road.same(await captionOf(page, GROUP), 'グループの設定', "the group dialog's caption");
    const fresh = {};
    for (const id of [1009, 1021, 1025, 1020]) {
      fresh[id] = await textOf(page, group(id));
    }
    road.same(fresh, { 1009: '新規', 1021: '1', 1025: '100', 1020: '0' }, "a new group's fields");
    await typeInto(page, group(1009), '幹事チーム');
    await typeInto(page, group(1021), '2');
    await typeInto(page, group(1020), '3000');
    await typeInto(page, group(1022), '500');
    await click(page, group(3));
    await waitValue(page, group(1020), '3500', '"+" adding the addend to the advance');
    await click(page, group(OK));
    await waitGone(page, GROUP, 'the group dialog');
    await waitRowCount(page, 1);

    await click(page, main(1015));
    await waitShown(page, GROUP, 'the group dialog again');
    await typeInto(page, group(1009), 'ゲスト 田中');
    await typeInto(page, group(1021), '');
    await click(page, group(OK));
    const refusal = await takeBox(page, 'an empty people field');
    road.same(refusal.text, 'このグループの人数を入力してください', 'the box on an empty people field');
    await answerBox(page, 'ok');
    road.expect((await page.$(GROUP)) !== null, 'the group dialog stays open after the refusal');
    await typeInto(page, group(1021), '1');
    await click(page, `${group(1028)} button[data-step="up"]`);
    await waitValue(page, group(1021), '2', 'the people arrows going up');
    await click(page, `${group(1028)} button[data-step="up"]`);
    await waitValue(page, group(1021), '3', 'the people arrows going up again');
    await click(page, `${group(1029)} button[data-step="down"]`);
    await waitValue(page, group(1025), '90', 'the ratio arrows going down by 10');
    await typeInto(page, group(1020), '１０００');
    await click(page, group(OK));
    await waitGone(page, GROUP, 'the group dialog');
    await waitRowCount(page, 2);

    await click(page, main(1017));
    await waitShown(page, TOTAL, 'the total dialog on 入力');
    road.same(await captionOf(page, TOTAL), '情報', "the total dialog's caption");
    road.same(await textOf(page, total(1019)), '0', 'the total at first');
    road.same(await textOf(page, total(1029)), '100', 'the unit at first');
    const choices = await page.$eval(total(1029), (input) => (input.list ? input.list.options.length : -1));
    road.same(choices, 5, "the unit combo's choices (its datalist's options)");
    await click(page, total(3));
    await waitValue(page, total(1019), '10000', '総負担額を入れる taking the sum of the advances');
    await typeInto(page, total(1019), '');
    await click(page, total(OK));
    const emptyTotal = await takeBox(page, 'an empty total');
    road.same(emptyTotal.text, '総額を入力してください', 'the box on an empty total');
    await answerBox(page, 'ok');
    road.expect((await page.$(TOTAL)) !== null, 'the total dialog stays open after the refusal');
    await typeInto(page, total(1019), '１２３４５');
    await typeInto(page, total(1029), '１０００');
    await click(page, total(OK));
    await waitGone(page, TOTAL, 'the total dialog');
    reached.add('the typical party');

    await click(page, main(1022));
    try {
      await page.waitForFunction(
        (s, v) => document.querySelector(s)?.cells[5]?.textContent.trim() === v,
        { timeout: WAIT },
        `${ROWS}:nth-child(2)`,
        EXPECTED_ROWS[1][5],
      );
    } catch {
      // The comparison below says what the list shows instead.
    }
    road.same(await rows(page), EXPECTED_ROWS, 'rows after 区切計算');
    road.same(await outputs(page), EXPECTED_OUTPUTS, 'outputs after 区切計算');
    reached.add('calculated');
  });

  await check('stored file equals the desktop one, date aside', ['the typical party'], async (road) => {
    const page = typicalPage;
    let stored = await storedAfterSave(page);
    // The last command (区切計算) may still be on its way to IndexedDB.
    await delay(300);
    stored = await readStoredFile(page);
    road.same(stored.contentsType, '[object Uint8Array]', 'the stored contents');
    if (stored.bytes !== null) {
      compareDateAside(road, stored.bytes, golden, 'IndexedDB /data/ts.cfg');
    }
    typicalStored = stored;
  });

  await check('a change recalculates at once', ['calculated'], async (road) => {
    const page = typicalPage;
    const before = { rows: await rows(page), outputs: await outputs(page) };
    await click(page, `${ROWS}:nth-child(2)`);
    await waitFor(
      page,
      'row 2 to be selected',
      (s) => document.querySelector(s)?.getAttribute('aria-selected') === 'true',
      `${ROWS}:nth-child(2)`,
    );
    road.same(
      await page.$eval(`${ROWS}:nth-child(1)`, (tr) => tr.getAttribute('aria-selected')),
      'false',
      'row 1 when row 2 is selected',
    );
    await click(page, main(1016));
    await waitShown(page, GROUP, 'the group dialog on 変更');
    road.same(await textOf(page, group(1009)), 'ゲスト 田中', 'the name in the group dialog on 変更');
    road.same(await textOf(page, group(1021)), '3', 'the people in the group dialog on 変更');
    await typeInto(page, group(1021), '4');
    await click(page, group(OK));
    await waitGone(page, GROUP, 'the group dialog');
    await waitFor(
      page,
      'the total people to become 6人',
      (s) => document.querySelector(s)?.textContent.trim() === '6人',
      main(1028),
    );
    const after = { rows: await rows(page), outputs: await outputs(page) };
    road.same(after.rows[1]?.slice(0, 2), ['ゲスト 田中', '4人'], 'the changed row');
    road.expect(JSON.stringify(after.rows) !== JSON.stringify(before.rows), 'the rows did not change');
    road.expect(
      after.rows[1]?.[4] !== before.rows[1]?.[4],
      `the changed group's payment stayed ${before.rows[1]?.[4]}`,
    );
    road.expect(after.outputs[1027] !== before.outputs[1027], `the remainder stayed ${before.outputs[1027]}`);
    road.same(after.outputs[1019], '12345円', 'the total after the change');
    if (typicalStored !== null) {
      await storedAfterSave(page, typicalStored);
    }
  });

  await check('a reload keeps the party', ['the typical party'], async (road) => {
    const page = typicalPage;
    const beforeReload = { rows: await rows(page), outputs: await outputs(page) };
    // Whatever the last command changed has been saved by now.
    await delay(300);
    await page.reload({ waitUntil: 'load' });
    await waitReady(page).catch(() => {
      throw new Stop('not ready after the reload');
    });
    road.same(
      (await rows(page)).map((row) => row.slice(0, 4)),
      beforeReload.rows.map((row) => row.slice(0, 4)),
      'rows after the reload (name, people, ratio, advance)',
    );
    road.same(
      await outputs(page, [1028, 1019, 1029]),
      { 1028: beforeReload.outputs[1028], 1019: beforeReload.outputs[1019], 1029: beforeReload.outputs[1029] },
      'outputs after the reload',
    );
  });

  await check('offline, the service worker starts the program', ['the typical party'], async (road) => {
    const page = typicalPage;
    const registered = await page.evaluate(async () => {
      if (!('serviceWorker' in navigator)) {
        return 'no navigator.serviceWorker';
      }
      const timeout = new Promise((resolve) => setTimeout(() => resolve('timeout'), 10_000));
      const ready = navigator.serviceWorker.ready.then(
        (registration) => registration.active?.scriptURL ?? 'no active worker',
      );
      return Promise.race([ready, timeout]);
    });
    if (!String(registered).endsWith('/sw.js')) {
      throw new Stop(`navigator.serviceWorker.ready: ${registered}`);
    }
    let controlled = await page.evaluate(() => navigator.serviceWorker.controller !== null);
    if (!controlled) {
      road.note('no controller after the first reload; reloading once more');
      await page.reload({ waitUntil: 'load' });
      await waitReady(page);
      controlled = await page.evaluate(() => navigator.serviceWorker.controller !== null);
    }
    if (!road.expect(controlled, 'the page has no service worker controller after ready and a reload')) {
      return;
    }
    const party = (await rows(page)).map((row) => row.slice(0, 4));
    await server.close();
    await page.setOfflineMode(true);
    try {
      await page.reload({ waitUntil: 'load', timeout: 15_000 });
      await waitReady(page).catch(() => {
        throw new Stop('offline, the main window never became ready');
      });
      road.same(
        (await rows(page)).map((row) => row.slice(0, 4)),
        party,
        'rows offline',
      );
    } finally {
      await page.setOfflineMode(false);
      server = await startServer(siteDir, port);
      // Back online for the roads that go on in this page.
      if (!(await page.evaluate(() => document.body?.dataset.ready === '1').catch(() => false))) {
        await page.goto(url, { waitUntil: 'load' });
        await waitReady(page);
      }
    }
  });

  await check('export: settings file and CSV', ['the typical party'], async (road) => {
    const page = typicalPage;
    const stored = await readStoredFile(page);
    if (!road.expect(stored?.bytes, 'nothing stored to compare the export with')) {
      return;
    }
    await choose(page, 40005);
    const cfg = await downloaded(typical.downloads, 'ts.cfg');
    road.expect(
      Buffer.from(stored.bytes).equals(cfg),
      `ts.cfg (${cfg.length} bytes) differs from the stored file (${stored.bytes.length} bytes)`,
    );
    await waitGone(page, MENU, 'the menu');

    await choose(page, 40002);
    const { y, m, d } = today();
    const name = `tally-share-${y}${String(m).padStart(2, '0')}${String(d).padStart(2, '0')}.csv`;
    const csv = await downloaded(typical.downloads, name);
    road.expect(
      csv.subarray(0, 3).equals(Buffer.from([0xef, 0xbb, 0xbf])),
      `${name} does not start with the UTF-8 BOM`,
    );
    const text = csv.subarray(csv[0] === 0xef ? 3 : 0).toString('utf8');
    road.expect(
      text.startsWith('ｸﾞﾙｰﾌﾟ名,人数,割合,負担額,支払額,差引額\r\n幹事チーム,2,'),
      `${name} does not begin with the titles and the first group in UTF-8: ${JSON.stringify(text.slice(0, 80))}`,
    );
  });

  await check('copy and send put the texts on the clipboard', ['the typical party'], async (road) => {
    const page = typicalPage;
    await typical.context.overridePermissions(url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    const clipboard = () => page.evaluate(() => navigator.clipboard.readText());
    const clear = () => page.evaluate(() => navigator.clipboard.writeText(''));
    // A note that the text was copied may follow; it is taken and noted.
    const afterCopy = async (what) => {
      await delay(300);
      if ((await page.$(BOX)) !== null) {
        const box = await takeBox(page, what);
        road.note(`${what}: a box says ${box.caption}|${box.text}`);
        await answerBox(page, box.answers[0]);
      }
    };
    await clear();
    await choose(page, 40001);
    await afterCopy('コピー');
    // Lines end as the platform's do: LF here, CR LF on Windows.
    const list = (await clipboard()).replaceAll('\r\n', '\n');
    road.expect(
      list.startsWith('ｸﾞﾙｰﾌﾟ名\t人数\t割合\t負担額\t支払額\t差引額\n幹事チーム\t2人\t'),
      `コピー put ${JSON.stringify(list.slice(0, 80))}`,
    );

    await clear();
    const shares = await page.evaluate(() => typeof navigator.share === 'function');
    if (shares) {
      road.note('this Chromium has navigator.share; 送る is left to it');
      return;
    }
    await click(page, `${MAIN} button[data-command="40004"]`);
    await afterCopy('送る');
    const chat = await clipboard();
    road.expect(
      chat.includes('幹事チーム') && chat.includes('ゲスト 田中'),
      `送る put ${JSON.stringify(chat.slice(0, 120))}`,
    );
    await choose(page, 40003);
    await afterCopy('送る文面をコピー');
    road.same(await clipboard(), chat, '送る文面をコピー beside 送る');
  });
} finally {
  await typical.context.close();
}

await check('a second tab waits and writes nothing', [], async (road) => {
  const { context } = await freshContext();
  try {
    const first = await openSite(context, road);
    await addGroup(first, '先のタブ', 2, 1500);
    const stored = await storedAfterSave(first);
    const party = await rows(first);

    const second = await context.newPage();
    watchErrors(second, road);
    await second.goto(url, { waitUntil: 'load' });
    await waitShown(second, '#ts-elsewhere', '#ts-elsewhere in the second tab');
    const elsewhere = await second.$eval('#ts-elsewhere', (element) => element.textContent.trim());
    road.expect(/TALLY-SHARE/.test(elsewhere), `#ts-elsewhere says ${JSON.stringify(elsewhere)}`);
    road.same(await second.evaluate(() => document.body.dataset.waiting ?? null), '1', "the second tab's data-waiting");
    road.expect(await second.evaluate(() => document.body.dataset.ready !== '1'), 'the second tab says it is ready');
    await delay(1_000);
    const later = await readStoredFile(first);
    road.expect(
      later !== null && sameBytes(later, stored) && later.timestamp === stored.timestamp,
      'the stored file changed while the second tab waited',
    );

    await first.close();
    await waitReady(second, 10_000).catch(() => {
      throw new Stop('the second tab did not take over when the first closed');
    });
    road.same(await rows(second), party, 'rows in the second tab after taking over');
    road.same(
      (await second.evaluate(() => document.body.dataset.waiting ?? null)) === '1',
      false,
      'the second tab still waiting after taking over',
    );
    road.expect(
      (await second.$eval('#ts-elsewhere', (e) => e.checkVisibility()).catch(() => false)) === false,
      '#ts-elsewhere still shown after taking over',
    );
  } finally {
    await context.close();
  }
});

await check('reading a file that is no settings file changes nothing', [], async (road) => {
  const { context } = await freshContext();
  try {
    const page = await openSite(context, road);
    await addGroup(page, 'もとの組', 4, 2000);
    const stored = await storedAfterSave(page);
    const party = await rows(page);
    const goldenText = Buffer.from(golden).toString('utf16le');
    const cases = [
      ['random bytes', randomBytes(777, 20261207)],
      ['an empty file', Buffer.alloc(0)],
      [
        'a settings file of another version',
        utf16Records('@TALLYSHARE/CONFIG,2.00', 'PEOPLE,"FIRST",100,100,2030/1/1', 'GROUP,"未来",1,100,0'),
      ],
      ['the settings text saved as UTF-8', Buffer.from(goldenText.replaceAll('\0', ''), 'utf8')],
    ];
    for (const [what, bytes] of cases) {
      const file = path.join(work, `not-settings-${cases.findIndex((c) => c[0] === what)}.cfg`);
      await writeFile(file, bytes);
      await importFile(page, file);
      const box = await takeBox(page, `reading ${what}`);
      road.expect(box.answers.length === 1, `${what}: the box offers ${JSON.stringify(box.answers)} (${box.text})`);
      road.note(`${what}: ${box.caption}|${box.text}`);
      await answerBox(page, box.answers[0] ?? 'ok');
      road.same(await rows(page), party, `rows after reading ${what}`);
      const after = await readStoredFile(page);
      road.expect(sameBytes(after, stored), `the stored file changed after reading ${what}`);
    }

    // A settings file: asked first; キャンセル keeps the party, OK takes the file's.
    const good = path.join(work, 'typical_use.cfg');
    await writeFile(good, golden);
    await importFile(page, good);
    const ask = await takeBox(page, 'reading a settings file');
    road.same([...ask.answers].sort(), ['cancel', 'ok'], "the confirmation's buttons");
    await answerBox(page, 'cancel');
    road.same(await rows(page), party, 'rows after キャンセル on the confirmation');
    await importFile(page, good);
    await takeBox(page, 'reading a settings file again');
    await answerBox(page, 'ok');
    await waitRowCount(page, 2);
    road.same(
      (await rows(page)).map((row) => row.slice(0, 4)),
      GOLDEN_PARTY,
      'rows after reading typical_use.cfg',
    );
    road.same(
      await outputs(page, [1028, 1019, 1029]),
      { 1028: '5人', 1019: '12345円', 1029: '1000円' },
      'outputs after reading typical_use.cfg',
    );
    const replaced = await storedAfterSave(page, stored);
    if (replaced.bytes !== null) {
      compareDateAside(road, replaced.bytes, golden, 'the stored file after reading typical_use.cfg');
    }
  } finally {
    await context.close();
  }
});

// ---------------------------------------------------------------------------
// Layout on a phone and a desktop.

// Measures the controls of one window in the page; returns what is wrong.
// On a phone a page wider than the screen is shown zoomed out, which makes
// innerWidth wider too: the screen's width is the measure.
function measureWindow(scope, numberIds, screenWidth) {
  const problems = [];
  const notes = [];
  const width = Math.min(window.innerWidth, screenWidth);
  const height = window.innerHeight;
  const root = document.querySelector(scope);
  if (root === null) {
    return { problems: [`no ${scope}`], notes };
  }
  if (window.innerWidth !== screenWidth) {
    problems.push(`innerWidth is ${window.innerWidth} on a screen ${screenWidth} wide`);
  }
  if (document.documentElement.scrollWidth > width) {
    problems.push(`the page scrolls sideways (scrollWidth ${document.documentElement.scrollWidth} > ${width})`);
  }
  const isDialog = root.tagName === 'DIALOG';
  const scrolls =
    isDialog &&
    root.scrollHeight > root.clientHeight + 1 &&
    ['auto', 'scroll'].includes(getComputedStyle(root).overflowY);
  if (scrolls) {
    notes.push(`${scope} scrolls vertically (${root.scrollHeight} in ${root.clientHeight})`);
  }
  const name = (element) => {
    const id = element.dataset.controlId;
    const label = (element.textContent || element.getAttribute('aria-label') || element.value || '')
      .trim()
      .slice(0, 12);
    const { command, step } = element.dataset;
    return [
      element.tagName.toLowerCase(),
      id ? `#${id}` : '',
      command ? `[${command}]` : '',
      step ? `[${step}]` : '',
      label ? ` "${label}"` : '',
    ].join('');
  };
  const round = (n) => Math.round(n * 10) / 10;
  const shown = (element) => element.checkVisibility({ visibilityProperty: true, opacityProperty: true });
  const controls = new Set(
    root.querySelectorAll(
      '[data-control-id], button[data-menu-for], button[data-command], button[data-step], [role="menuitem"]',
    ),
  );
  if (!isDialog) {
    for (const extra of document.querySelectorAll('button[data-menu-for], button[data-command="40004"]')) {
      controls.add(extra);
    }
  }
  for (const element of controls) {
    if (element.tagName === 'DATALIST' || element.tagName === 'OPTION') {
      continue;
    }
    if (!shown(element)) {
      if (isDialog && element.dataset.controlId !== '-1') {
        problems.push(`${name(element)} is not shown`);
      }
      continue;
    }
    let box = element.getBoundingClientRect();
    const middle = box.top + box.height / 2;
    if ((scrolls || !isDialog) && (middle < 0 || middle > height)) {
      element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      box = element.getBoundingClientRect();
    }
    if (box.left < -0.5 || box.right > width + 0.5) {
      problems.push(`${name(element)} lies outside [0, ${width}] (${round(box.left)}..${round(box.right)})`);
    }
    if (isDialog && (box.top < -0.5 || box.bottom > height + 0.5)) {
      problems.push(
        `${name(element)} lies outside the viewport's height (${round(box.top)}..${round(box.bottom)} of ${height})`,
      );
    }
    const interactive = element.matches('button, input, select, textarea, [role="menuitem"]');
    const inView = box.top + box.height / 2 >= 0 && box.top + box.height / 2 <= height;
    if (interactive && inView && box.width > 0 && box.height > 0) {
      const x = Math.min(Math.max(box.left + box.width / 2, 0), width - 1);
      const y = Math.min(Math.max(box.top + box.height / 2, 0), height - 1);
      const hit = document.elementFromPoint(x, y);
      if (
        hit === null ||
        !(element === hit || element.contains(hit) || (element.labels && [...element.labels].includes(hit)))
      ) {
        problems.push(
          `${name(element)} is covered by ${hit ? hit.tagName.toLowerCase() + (hit.className ? `.${hit.className}` : '') : 'nothing'}`,
        );
      }
    }
    if (interactive && (box.width < 44 || box.height < 44)) {
      problems.push(`${name(element)} is ${round(box.width)}×${round(box.height)}, less than 44×44`);
    }
    if (element.matches('input, select, textarea')) {
      const size = parseFloat(getComputedStyle(element).fontSize);
      if (size < 16) {
        problems.push(`${name(element)} has font-size ${size}px (< 16px)`);
      }
    }
  }
  for (const row of root.querySelectorAll('tbody tr')) {
    const box = row.getBoundingClientRect();
    if (box.height < 44) {
      problems.push(`a list row is ${round(box.height)} px high (< 44)`);
      break;
    }
  }
  for (const id of numberIds) {
    const field = root.querySelector(`[data-control-id="${id}"]`);
    if (field?.getAttribute('inputmode') !== 'numeric') {
      problems.push(`#${id} has inputmode ${JSON.stringify(field?.getAttribute('inputmode') ?? null)}`);
    }
  }
  return { problems, notes };
}

const VIEWPORTS = [
  { width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  { width: 1280, height: 800 },
];

await check('layout at 360×640, 390×844 and 1280×800', [], async (road) => {
  for (const viewport of VIEWPORTS) {
    const size = `${viewport.width}×${viewport.height}`;
    const { context } = await freshContext();
    try {
      const page = await openSite(context, road, viewport);
      const measure = async (scope, numbers, what) => {
        const { problems, notes } = await page.evaluate(measureWindow, scope, numbers, viewport.width);
        for (const problem of problems) {
          road.expect(false, `${size} ${what}: ${problem}`);
        }
        for (const note of notes) {
          road.note(`${size} ${what}: ${note}`);
        }
      };
      await click(page, main(1015));
      await waitShown(page, GROUP, 'the group dialog');
      await measure(GROUP, [1021, 1025, 1020, 1022], 'group dialog');
      await click(page, group(OK));
      await waitRowCount(page, 1);
      await measure(MAIN, [], 'main window');
      await openMenu(page);
      await measure(MENU, [], 'list menu');
      await page.keyboard.press('Escape');
      await waitGone(page, MENU, 'the menu');
      await click(page, main(1017));
      await waitShown(page, TOTAL, 'the total dialog');
      await measure(TOTAL, [1019, 1029], 'total dialog');
      await click(page, total(CANCEL));
      await waitGone(page, TOTAL, 'the total dialog');
    } finally {
      await context.close();
    }
  }
});

await check('a long press on the list opens its menu', [], async (road) => {
  const { context } = await freshContext();
  try {
    const page = await openSite(context, road, VIEWPORTS[1]);
    await addGroup(page, '長押し', 1, 0);
    const row = await page.$(`${ROWS}:nth-child(1)`);
    const box = await row.boundingBox();
    await page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    try {
      // Whether the menu stays once the finger is lifted depends on how
      // the browser turns the touch into mouse events; only the press is
      // the page's.
      await waitShown(page, MENU, 'the menu while the finger rests on a row');
      road.same(
        await page.$eval(`${ROWS}:nth-child(1)`, (tr) => tr.getAttribute('aria-selected')),
        'true',
        'the pressed row selected',
      );
      road.same(await page.$$eval(MENU, (menus) => menus.length), 1, 'menus open');
    } finally {
      await page.touchscreen.touchEnd();
    }
  } finally {
    await context.close();
  }
});

await check('axe finds nothing to fix', [], async (road) => {
  const { context } = await freshContext();
  try {
    const page = await openSite(context, road);
    await addGroup(page, '幹事チーム', 2, 3000);
    const axe = await readFile(require.resolve('axe-core/axe.min.js'), 'utf8');
    await page.addScriptTag({ content: axe });
    const audit = async (what, include) => {
      const violations = await page.evaluate(async (selector) => {
        const result = await window.axe.run(selector ? { include: [selector] } : document, {
          resultTypes: ['violations'],
        });
        return result.violations.map((v) => ({
          id: v.id,
          help: v.help,
          targets: v.nodes.map((n) => n.target.join(' ')),
        }));
      }, include);
      for (const v of violations) {
        road.expect(false, `${what}: ${v.id} (${v.help}) at ${v.targets.join(', ')}`);
      }
    };
    await audit('main window', null);
    await click(page, main(1015));
    await waitShown(page, GROUP, 'the group dialog');
    await audit('group dialog', GROUP);
    await click(page, group(CANCEL));
    await waitGone(page, GROUP, 'the group dialog');
    await click(page, main(1017));
    await waitShown(page, TOTAL, 'the total dialog');
    await audit('total dialog', TOTAL);
    await click(page, total(CANCEL));
    await waitGone(page, TOTAL, 'the total dialog');
    await openMenu(page);
    await audit('list menu', MENU);
    await page.keyboard.press('Escape');
    await waitGone(page, MENU, 'the menu');
    await click(page, main(1020));
    await takeBox(page, 'クリア');
    await audit('message box', BOX);
    await answerBox(page, 'cancel');
    await waitRowCount(page, 1);
  } finally {
    await context.close();
  }
});

await check('keyboard', [], async (road) => {
  const { context } = await freshContext();
  try {
    const page = await openSite(context, road);
    await click(page, main(1015));
    await waitShown(page, GROUP, 'the group dialog');
    await typeInto(page, group(1009), '閉じる組');
    await page.keyboard.press('Escape');
    await waitGone(page, GROUP, 'the group dialog on Escape');
    road.same(await rows(page), [], 'rows after Escape in the group dialog');

    await click(page, main(1015));
    await waitShown(page, GROUP, 'the group dialog');
    await typeInto(page, group(1009), 'エンター組');
    await typeInto(page, group(1021), '');
    await page.keyboard.press('Enter');
    const box = await takeBox(page, 'Enter with an empty people field');
    road.same(box.text, 'このグループの人数を入力してください', 'the box on Enter with an empty people field');
    await page.keyboard.press('Enter');
    await waitGone(page, BOX, 'the message box on Enter');
    road.expect((await page.$(GROUP)) !== null, 'the group dialog stays open after the box');
    await typeInto(page, group(1021), '2');
    await page.keyboard.press('Enter');
    await waitGone(page, GROUP, 'the group dialog on Enter');
    await waitRowCount(page, 1);
    road.same((await rows(page))[0]?.slice(0, 2), ['エンター組', '2人'], 'the group added with Enter');

    // The list's focus is the table itself, or a wrapper's focusable table.
    const list = await page.$(`${main(1000)}[tabindex], ${main(1000)} [tabindex]`);
    if (list === null) {
      throw new Stop('nothing focusable in the list');
    }
    await list.focus();
    road.expect(await list.evaluate((e) => e === document.activeElement), 'the list takes no focus');
    for (const key of ['Enter', 'Escape']) {
      await page.keyboard.press(key);
      await delay(200);
      road.expect((await page.$('dialog[open]')) === null, `${key} on the list opened a window`);
    }
    await list.click({ button: 'right' });
    await waitShown(page, MENU, 'the menu on a right click on the list');
    await page.keyboard.press('Escape');
    await waitGone(page, MENU, 'the menu on Escape');
    await list.focus();
    await page.keyboard.down('Shift');
    await page.keyboard.press('F10');
    await page.keyboard.up('Shift');
    await waitShown(page, MENU, 'the menu on Shift+F10');
    road.expect(
      await page.evaluate((s) => document.activeElement?.closest(s) !== null, MENU),
      'the focus is not in the menu it opened',
    );
    await page.keyboard.press('Escape');
    await waitGone(page, MENU, 'the menu on Escape');
    road.same((await rows(page)).length, 1, 'rows after Escape in the menu');
    road.expect((await page.$('dialog[open]')) === null, 'a window opened on Escape in the menu');
    // Escape on the question of クリア keeps the party.
    await click(page, main(1020));
    await takeBox(page, 'クリア');
    await page.keyboard.press('Escape');
    await waitGone(page, BOX, 'the box of クリア on Escape');
    await delay(200);
    road.same((await rows(page)).length, 1, 'rows after Escape on the question of クリア');

    // Enter in the total field is OK, not 総負担額を入れる.
    await click(page, main(1017));
    await waitShown(page, TOTAL, 'the total dialog');
    await typeInto(page, total(1019), '4321');
    await page.keyboard.press('Enter');
    await waitGone(page, TOTAL, 'the total dialog on Enter');
    road.same(await textOf(page, main(1019)), '4321円', 'the total after Enter in the total dialog');

    // A right click soon after a menu that the keyboard opened is a click
    // of its own.
    await list.focus();
    await page.keyboard.press('ContextMenu');
    await waitShown(page, MENU, 'the menu on the ContextMenu key');
    await page.keyboard.press('Escape');
    await waitGone(page, MENU, 'the menu on Escape');
    await list.click({ button: 'right' });
    await waitShown(page, MENU, "the menu on a right click just after the ContextMenu key's menu closed");
    await page.keyboard.press('Escape');
    await waitGone(page, MENU, 'the menu on Escape');
  } finally {
    await context.close();
  }
});

await cdp.detach().catch(() => {});
await chrome.close();
await server.close();
await rm(work, { recursive: true, force: true });
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed > 0 ? 1 : 0);
