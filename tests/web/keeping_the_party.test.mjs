// The party outlives the page: a reload, the network gone, a second tab.
import assert from 'node:assert/strict';
import { scenario, enterTypicalParty } from './harness.mjs';

// What is kept of a party: the groups as entered and the total and unit
// (the figures are calculated again on demand).
async function party(app) {
  const { 総人数, 総額, 区切額 } = await app.totals();
  return { groups: (await app.rows()).map((row) => row.slice(0, 4)), 総人数, 総額, 区切額 };
}

scenario('a reload keeps the party, also right after a change is shown', async ({ open }) => {
  const app = await open();
  await enterTypicalParty(app);
  const dialog = await app.add();
  await dialog.fill({ name: '遅れて来た人', people: '1' });
  await dialog.ok();
  await app.waitRowCount(3);
  const before = await party(app);
  await app.reload();
  assert.deepEqual(await party(app), before);
});

scenario('offline, the service worker starts the program with the party', async ({ open, stopServer, note }) => {
  const app = await open();
  await app.addGroup({ name: '山小屋', people: '3', advance: '2000' });
  assert.match(await app.serviceWorker(), /\/sw\.js$/, 'the service worker once ready');
  if (!(await app.controlledByServiceWorker())) {
    note('the first page is not controlled yet; reloading once');
    await app.reload();
  }
  assert.ok(await app.controlledByServiceWorker(), 'the page is controlled by the service worker');
  const before = await party(app);
  await stopServer();
  await app.reload({ offline: true });
  assert.deepEqual(await party(app), before, 'the party offline');
  // The tab's and the home screen's icons too.
  for (const [file, served] of await app.headFiles()) {
    assert.ok(served, `${file} offline`);
  }
});

scenario('a second tab waits, writes nothing, and takes over when the first closes', async ({ open }) => {
  const first = await open();
  await first.addGroup({ name: '先のタブ', people: '2', advance: '1500' });
  const stored = await first.storedSettings();
  const groups = await first.rows();

  const second = await open({ ready: false });
  assert.match(await second.waitElsewhereNotice(), /TALLY-SHARE/, 'what the second tab says');
  assert.equal(await second.isReady(), false, 'the second tab takes commands');
  assert.deepEqual(await first.storedSettings(), stored, 'the stored party while the second tab waits');

  await first.close();
  await second.ready();
  assert.deepEqual(await second.rows(), groups, 'the groups in the second tab');
  assert.equal(await second.elsewhereNotice(), null, 'the notice once the second tab has taken over');
});
