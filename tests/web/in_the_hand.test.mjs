// A phone in the hand: whatever the number of groups, before and after a
// calculation, the commands used most and the totals are on the screen
// without scrolling, nothing scrolls sideways and every button takes a
// finger; from two rounds on the round selector and its menu too, and the
// settlement's cards keep their figures whole with the organiser's line
// in view.
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

// The same groups in two rounds, both calculated, with one person fewer in
// every other group of more than one in the second: on a phone's screen
// the round selector and its menu join the commands, and 精算 shows a card
// per class.
const evening = (count) => {
  const groups = (fewer) => Array.from({ length: count }, (_, i) => {
    const people = 1 + (i % 4);
    return `GROUP,"グループ${i + 1}",${fewer && i % 2 === 1 && people > 1 ? people - 1 : people},${100 - (i % 3) * 10},${(i % 6) * 1000}`;
  });
  return utf16Records(
    '@TALLYSHARE/CONFIG,1.00',
    'PEOPLE,"FIRST",12345678,1000,2026/12/8',
    ...groups(false),
    '@TALLYSHARE/CONFIG,2.00',
    'EVENING,2,1',
    'ROUND,"",u',
    'ROUND,"",u',
    'PEOPLE,"FIRST",7654321,1000,2026/12/8',
    ...groups(true),
  );
};

async function roundsStayInReach(world, viewport) {
  const where = `${viewport.width}×${viewport.height}, two rounds of 20 groups`;
  const app = await (await world.anotherDevice()).open({ viewport: { ...viewport, ...PHONE } });
  await app.importFile(await world.file('evening.cfg', evening(20)));
  await app.answer('ok');
  await app.waitRowCount(20);
  const inReach = [...IN_REACH, '会', '会のメニュー'];
  const seen = await app.withoutScrolling(inReach, { choices: ['会'] });
  assert.deepEqual(seen.commands, Object.fromEntries(inReach.map((name) => [name, true])), `${where}: the commands on the screen`);
  assert.deepEqual([seen.scrollsDown, seen.scrollsSideways], [false, false], `${where}: the page scrolls (down, sideways)`);
  assert.deepEqual((await app.layout('main')).problems, [], `${where}: what is wrong with the main window`);

  await app.roundMenu('精算');
  assert.deepEqual((await app.layout('settlement')).problems, [], `${where}: what is wrong with the settlement`);
  assert.equal(await app.planScrollsSideways(), false, `${where}: the cards scroll sideways`);
  const said = await app.saidOnScreen();
  assert.deepEqual(said, [true, true, true, true], `${where}: the organiser's line, what is left and the labels on the screen`);
  const classes = await app.classesAsSeen();
  assert.ok(classes.length > 20, `${where}: ${classes.length} classes`);
  classes.forEach((c, i) => {
    assert.ok(c.figureInView, `${where}: the figure of class ${i + 1} lies outside the screen`);
    assert.deepEqual(c.cut, [], `${where}: texts cut in class ${i + 1}`);
    assert.ok(c.figureLargest, `${where}: the figure of class ${i + 1} is not the largest text`);
    assert.ok(c.mark.width >= 44 && c.mark.height >= 44, `${where}: 済 of class ${i + 1} is ${c.mark.width}×${c.mark.height}`);
  });
  await app.close();
}

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
  await roundsStayInReach(world, viewport);
}

scenario('on a 360×640 phone the commands and the totals stay on the screen with 1, 4 and 20 groups and two rounds', (world) =>
  commandsStayInReach(world, { width: 360, height: 640 }),
);

scenario('on a 390×844 phone the commands and the totals stay on the screen with 1, 4 and 20 groups and two rounds', (world) =>
  commandsStayInReach(world, { width: 390, height: 844 }),
);

scenario('on a 412×915 phone the commands and the totals stay on the screen with 1, 4 and 20 groups and two rounds', (world) =>
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
