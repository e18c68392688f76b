// The site with a keyboard: Enter and Escape in the windows, the list's
// focus and its menu.
import assert from 'node:assert/strict';
import { scenario } from './harness.mjs';

scenario('Enter answers OK and Escape cancels, in the dialogs and the boxes', async ({ open }) => {
  const app = await open();
  let group = await app.add();
  await group.fill({ name: '閉じる組' });
  await app.key('Escape');
  await group.closed();
  await app.settled();
  assert.deepEqual(await app.rows(), [], 'the groups after Escape in the group dialog');

  group = await app.add();
  await group.fill({ name: 'エンター組', people: '' });
  await app.key('Enter');
  assert.equal((await app.box()).text, 'このグループの人数を入力してください', 'the box on Enter with no people');
  await app.key('Enter');
  await app.boxClosed();
  assert.ok(await group.isOpen(), 'the group dialog after the box');
  await group.fill({ people: '2' });
  await app.key('Enter');
  await group.closed();
  await app.waitRowCount(1);
  assert.deepEqual((await app.rows())[0].slice(0, 2), ['エンター組', '2人'], 'the group added with Enter');

  await app.press('クリア');
  await app.box();
  await app.key('Escape');
  await app.boxClosed();
  await app.settled();
  assert.equal((await app.rows()).length, 1, 'the groups after Escape on the question of クリア');

  // Enter in the total field is OK, not 総負担額を入れる beside it.
  const total = await app.input();
  await total.fill({ total: '4321' });
  await app.key('Enter');
  await total.closed();
  await app.settled();
  assert.equal((await app.totals()).総額, '4321円', 'the total after Enter in the total dialog');
});

scenario('the list takes the focus and opens its menu by key and by mouse, and nothing else', async ({ open }) => {
  const app = await open();
  await app.addGroup({ name: '一組', people: '2' });
  for (const key of ['Enter', 'Escape']) {
    await app.focusList();
    assert.ok(await app.listHasFocus(), 'the list has the focus');
    await app.key(key);
    await app.settled();
  }
  assert.deepEqual(await app.openWindows(), [], 'the windows after Enter and Escape on the list');

  await app.rightClickList();
  await app.menuShown();
  await app.key('Escape');
  await app.menuClosed();

  await app.focusList();
  await app.key('Shift+F10');
  await app.menuShown();
  assert.ok(await app.focusInMenu(), 'the focus in the menu Shift+F10 opened');
  await app.key('Escape');
  await app.menuClosed();
  await app.settled();
  assert.equal((await app.rows()).length, 1, 'the groups after Escape in the menu');

  // A right click soon after a menu that the key opened is a click of its own.
  await app.focusList();
  await app.key('ContextMenu');
  await app.menuShown();
  await app.key('Escape');
  await app.menuClosed();
  await app.rightClickList();
  await app.menuShown();
  await app.key('Escape');
  await app.menuClosed();
});
