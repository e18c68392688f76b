// The windows on a phone and a desktop: within the screen, big enough for
// a finger, the number keyboard for numbers, a long press for the menu, and
// nothing for axe-core to fix.
import assert from 'node:assert/strict';
import { scenario } from './harness.mjs';

const PHONE = { deviceScaleFactor: 2, isMobile: true, hasTouch: true };

// Opens every window in turn and measures it.
async function measureEveryWindow({ open, note }, viewport) {
  const app = await open({ viewport });
  const measure = async (which) => {
    const { problems, notes } = await app.layout(which);
    notes.forEach((text) => note(`${which}: ${text}`));
    assert.deepEqual(problems, [], `what is wrong with the window ${which}`);
  };
  const group = await app.add();
  await measure('group');
  await group.ok();
  await app.waitRowCount(1);
  await measure('main');
  await app.openMenu();
  await measure('menu');
  await app.key('Escape');
  await app.menuClosed();
  const total = await app.input();
  await measure('total');
  await total.cancel();
}

scenario('every window fits a 360×640 phone and takes a finger', (world) =>
  measureEveryWindow(world, { width: 360, height: 640, ...PHONE }),
);

scenario('every window fits a 390×844 phone and takes a finger', (world) =>
  measureEveryWindow(world, { width: 390, height: 844, ...PHONE }),
);

scenario('every window fits a 1280×800 desktop', (world) => measureEveryWindow(world, { width: 1280, height: 800 }));

scenario('a long press on a row selects it and opens the list menu', async ({ open }) => {
  const app = await open({ viewport: { width: 390, height: 844, ...PHONE } });
  await app.addGroup({ name: '長押し', people: '1' });
  // Whether the menu stays once the finger is lifted depends on how the
  // browser turns the touch into mouse events; only the press is the page's.
  await app.longPress(0, async () => {
    await app.menuShown();
    assert.deepEqual(await app.selection(), [true], 'the rows selected');
    assert.equal((await app.openWindows()).length, 1, 'the windows open');
  });
});

scenario('axe-core finds nothing to fix in any window', async ({ open }) => {
  const app = await open();
  await app.addGroup({ name: '幹事チーム', people: '2', advance: '3000' });
  assert.deepEqual(await app.axe('main'), [], 'the main window');
  const group = await app.add();
  assert.deepEqual(await app.axe('group'), [], 'the group dialog');
  await group.cancel();
  const total = await app.input();
  assert.deepEqual(await app.axe('total'), [], 'the total dialog');
  await total.cancel();
  await app.openMenu();
  assert.deepEqual(await app.axe('menu'), [], 'the list menu');
  await app.key('Escape');
  await app.menuClosed();
  await app.press('クリア');
  assert.deepEqual(await app.axe('box'), [], 'a message box');
  await app.answer('cancel');
  await app.settled();
  assert.equal((await app.rows()).length, 1, 'the groups after キャンセル on クリア');
});
