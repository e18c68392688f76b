// A phone in the hand: whatever the number of groups, before and after a
// calculation, the commands used most and the totals are on the screen
// without scrolling, nothing scrolls sideways and every button takes a
// finger.
import assert from 'node:assert/strict';
import { scenario, utf16Records } from './harness.mjs';

const PHONE = { deviceScaleFactor: 2, isMobile: true, hasTouch: true };
// The view toggle names the view it switches to.
const IN_REACH = ['追加', '入力', '通常計算', '区切計算', '簡易表示'];

// A party of `count` groups with figures of every size up to eight digits.
const party = (count) =>
  utf16Records(
    '@TALLYSHARE/CONFIG,1.00',
    'PEOPLE,"FIRST",12345678,1000,2026/12/8',
    ...Array.from({ length: count }, (_, i) => `GROUP,"グループ${i + 1}",${1 + (i % 4)},${100 - (i % 3) * 10},${(i % 6) * 1000}`),
  );

async function commandsStayInReach(world, viewport) {
  const size = `${viewport.width}×${viewport.height}`;
  // One card, the four of a table, and more than any phone shows at once.
  for (const count of [1, 4, 20]) {
    // A device of its own each time: no party, no calculation yet.
    const app = await (await world.anotherDevice()).open({ viewport: { ...viewport, ...PHONE } });
    await app.importFile(await world.file(`${count}.cfg`, party(count)));
    await app.answer('ok');
    await app.waitRowCount(count);
    // Each calculation brings the balances into the cards and may lengthen them.
    for (const how of [null, '通常計算', '区切計算']) {
      if (how !== null) {
        await app.calculate(how);
      }
      const where = `${size}, ${count} groups, ${how === null ? 'before a calculation' : `after ${how}`}`;
      const seen = await app.withoutScrolling(IN_REACH);
      assert.deepEqual(seen.commands, Object.fromEntries(IN_REACH.map((name) => [name, true])), `${where}: the commands on the screen`);
      assert.ok(seen.totals, `${where}: the totals on the screen`);
      assert.deepEqual([seen.scrollsDown, seen.scrollsSideways], [false, false], `${where}: the page scrolls (down, sideways)`);
      assert.deepEqual((await app.layout('main')).problems, [], `${where}: what is wrong with the main window`);
    }
    await app.close();
  }
}

scenario('on a 360×640 phone the commands and the totals stay on the screen with 1, 4 and 20 groups', (world) =>
  commandsStayInReach(world, { width: 360, height: 640 }),
);

scenario('on a 390×844 phone the commands and the totals stay on the screen with 1, 4 and 20 groups', (world) =>
  commandsStayInReach(world, { width: 390, height: 844 }),
);

scenario('on a 412×915 phone the commands and the totals stay on the screen with 1, 4 and 20 groups', (world) =>
  commandsStayInReach(world, { width: 412, height: 915 }),
);

scenario('the page paints the main window where the program shows it, on phones and a desktop', async ({ open }) => {
  for (const viewport of [
    { width: 360, height: 640, ...PHONE },
    { width: 390, height: 844, ...PHONE },
    { width: 412, height: 915, ...PHONE },
    { width: 1280, height: 800 },
  ]) {
    const app = await open({ viewport });
    const shown = await app.places();
    const first = await app.firstPicture();
    assert.deepEqual(first, shown, `${viewport.width}×${viewport.height}: the first picture against the window`);
    await app.close();
  }
});
