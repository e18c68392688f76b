// The proof that the browser's storage loses nothing: a change shown is a
// change kept, through the browser killed outright, a tab closed at once,
// a full quota, the site's data cleared under the page, and the move from
// the storage of the previous version of the site.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { mkdtemp, rm } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { scenario, records, utf16Records } from './harness.mjs';
import { launchKillable } from './browser.mjs';
import { App, writeLegacyStore } from './site.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const STORE_FAILED =
  'この端末に保存できませんでした。\nブラウザーの空き容量やプライベートモードを確かめてください。内容は画面に残っています。';
const NOT_SAVED = '最後の変更はこの端末に保存されていません。次の変更のときにもう一度保存します。';
const KILLS = 3;

// The names of the groups a settings file holds, in order.
const storedNames = (bytes) =>
  records(bytes)
    .filter((r) => r.startsWith('GROUP,'))
    .map((r) => /^GROUP,"((?:[^"]|"")*)"/.exec(r)[1]);

// Runs `step(app, round)` KILLS times on a Chromium of its own profile:
// each round makes one change, waits only until the list shows it, kills
// every process of that Chromium at once and starts it again on the same
// profile, where `check(app, round)` must find the change.
async function killAfterEachChange({ url, work }, prepare, step, check) {
  const profile = await mkdtemp(path.join(work, 'profile-'));
  let chrome = await launchKillable(profile);
  try {
    let app = await App.open(chrome.browser, url);
    await prepare(app);
    for (let round = 1; round <= KILLS; round++) {
      await step(app, round);
      await chrome.kill();
      chrome = await launchKillable(profile);
      app = await App.open(chrome.browser, url);
      await check(app, round);
    }
  } finally {
    await chrome.kill();
    await rm(profile, { recursive: true, force: true, maxRetries: 3 });
  }
}

scenario('an added group survives the browser killed the moment it is shown, three times', (world) =>
  killAfterEachChange(
    world,
    async () => {},
    async (app, round) => {
      const dialog = await app.add();
      await dialog.fill({ name: `追加${round}`, people: String(round) });
      await dialog.ok();
      await app.waitRowCount(round);
    },
    async (app, round) => {
      assert.deepEqual((await app.rows()).map((row) => row[0]), Array.from({ length: round }, (_, i) => `追加${i + 1}`));
    },
  ),
);

scenario('a changed group survives the browser killed the moment it is shown, three times', (world) =>
  killAfterEachChange(
    world,
    (app) => app.addGroup({ name: '変わる組', people: '1' }),
    async (app, round) => {
      await app.selectRow(0);
      const dialog = await app.change();
      await dialog.fill({ people: String(round + 1) });
      await dialog.ok();
      await app.waitCell(0, 1, `${round + 1}人`);
    },
    async (app, round) => {
      assert.deepEqual((await app.rows())[0].slice(0, 2), ['変わる組', `${round + 1}人`]);
    },
  ),
);

scenario('a deleted group stays deleted after the browser is killed the moment it goes, three times', (world) =>
  killAfterEachChange(
    world,
    async (app) => {
      for (const name of ['一', '二', '三', '四']) {
        await app.addGroup({ name, people: '1' });
      }
    },
    async (app, round) => {
      await app.selectRow(0);
      await app.press('削除');
      await app.answer('ok');
      await app.waitRowCount(4 - round);
    },
    async (app, round) => {
      assert.deepEqual((await app.rows()).map((row) => row[0]), ['一', '二', '三', '四'].slice(round));
    },
  ),
);

scenario('a tab closed the moment a deletion shows keeps the group deleted', async ({ open }) => {
  const app = await open();
  await app.addGroup({ name: '残る組', people: '1' });
  await app.addGroup({ name: '消す組', people: '1' });
  await app.selectRow(1);
  await app.press('削除');
  await app.answer('ok');
  await app.waitRowCount(1);
  await app.close();
  const again = await open();
  assert.deepEqual((await again.rows()).map((row) => row[0]), ['残る組']);
  assert.deepEqual(storedNames(await again.storedSettings()), ['残る組']);
});

// Chromium holds the site to a quota only when it is set before the site
// first stores anything: this one takes the small party, and not a party
// of some 700 kB.
const QUOTA = 200_000;
const BIG_PARTY = utf16Records(
  '@TALLYSHARE/CONFIG,1.00',
  'PEOPLE,"FIRST",0,100,2026/12/8',
  ...Array.from({ length: 6000 }, (_, i) => `GROUP,"${'大'.repeat(40)}${i}",1,100,0`),
);

scenario('a full quota is said once, keeps the stored file as it was, and the next change after it is stored', async ({ open, file }) => {
  const app = await open({ quota: QUOTA });
  await app.addGroup({ name: '保存済み', people: '2' });
  const before = await app.storedSettings();
  assert.deepEqual(storedNames(before), ['保存済み'], 'the small party, stored within the quota');

  await app.importFile(await file('big.cfg', BIG_PARTY));
  await app.answer('ok', { another: true });
  assert.deepEqual(await app.box(), { caption: 'エラー', text: STORE_FAILED, answers: ['ok'] });
  await app.answer('ok');
  assert.equal(await app.notice(), NOT_SAVED, 'the notice on the main window');
  await app.waitRowCount(6000);

  // The commands still work, and say nothing more while nothing is saved.
  await app.addGroup({ name: 'もう一組', people: '1' });
  await app.calculate('通常計算');
  assert.equal((await app.rows()).at(-1)[0], 'もう一組');
  assert.deepEqual(await app.storedSettings(), before, 'the stored file, byte for byte');
  assert.equal(await app.notice(), NOT_SAVED);

  await app.unlimitStorage();
  await app.addGroup({ name: '空いた後', people: '1' });
  const stored = storedNames(await app.storedSettings());
  assert.equal(stored.length, 6002, 'the groups stored once there is room');
  assert.deepEqual(stored.slice(-2), ['もう一組', '空いた後']);
  assert.equal(await app.notice(), null, 'the notice once a save has worked');
});

scenario('the site data cleared under the page is said once, and the next change stores the party on the screen', async ({ open }) => {
  const app = await open();
  await app.addGroup({ name: '消される前', people: '1' });
  await app.clearSiteData();
  let boxes = 0;
  for (const name of ['消えた後', 'その次']) {
    const dialog = await app.add();
    await dialog.fill({ name, people: '1' });
    await dialog.ok();
    if ((await app.openWindows()).length > 0) {
      assert.equal((await app.box()).text, STORE_FAILED);
      await app.answer('ok');
      boxes += 1;
    }
    await app.settled();
  }
  assert.ok(boxes <= 1, `said ${boxes} times`);
  const shown = (await app.rows()).map((row) => row[0]);
  assert.deepEqual(shown, ['消される前', '消えた後', 'その次']);
  assert.deepEqual(storedNames(await app.storedSettings()), shown, 'the stored party');
  assert.equal(await app.notice(), null);
});

scenario('the party the previous version kept moves to the new store byte for byte, and the old database goes', async ({ open, url, context }) => {
  const profile = JSON.parse(readFileSync(path.join(here, 'fixtures/idbfs-profile.json'), 'utf8'));
  const [legacy] = profile.records;
  const bytes = Buffer.from(legacy.contents);
  await writeLegacyStore(context, url, profile);

  const app = await open();
  assert.deepEqual((await app.rows()).map((row) => row[0]), storedNames(bytes), 'the groups shown');
  assert.deepEqual(await app.storedSettings(), bytes, 'the new store holds the old bytes');
  assert.deepEqual(await app.databases(), [app.names.database], 'the databases of the site');
});
