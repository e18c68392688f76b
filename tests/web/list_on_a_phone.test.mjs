// The result where the eye goes: on a phone a card per group with its
// balance in the largest type, on a desktop rows under column heads; what
// the list says before there is anything to show, and the totals in words.
import assert from 'node:assert/strict';
import { scenario, utf16Records } from './harness.mjs';

const PHONE = { deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const LONG_NAME = '長'.repeat(210);

// Twenty groups, one with a name of 210 units and amounts of nine digits.
const LARGE_PARTY = utf16Records(
  '@TALLYSHARE/CONFIG,1.00',
  'PEOPLE,"FIRST",987654321,1000,2026/12/8',
  ...Array.from({ length: 20 }, (_, i) =>
    `GROUP,"${i === 1 ? LONG_NAME : `グループ${i + 1}`}",${1 + (i % 3)},${i % 4 === 3 ? 50 : 100},${i % 5 === 0 ? 123456789 : 1000 * i}`,
  ),
);

// Reads the large party in through the menu and calculates it.
async function openLargeParty({ open, file }, viewport) {
  const app = await open({ viewport });
  await app.importFile(await file('large.cfg', LARGE_PARTY));
  await app.answer('ok');
  await app.waitRowCount(20);
  await app.calculate('区切計算');
  return app;
}

scenario('on 320, 360 and 390 pixel phones every group is a card whose balance is in view and whole', async (world) => {
  for (const width of [320, 360, 390]) {
    const app = await openLargeParty(world, { width, height: 640, ...PHONE });
    assert.equal(await app.listLayout(), 'cards', `${width}: the list's layout`);
    const { problems } = await app.layout('main');
    assert.deepEqual(problems, [], `${width}: what is wrong with the main window`);
    assert.equal(await app.listScrollsSideways(), false, `${width}: the list scrolls sideways`);
    const groups = await app.groupsAsSeen();
    assert.equal(groups.length, 20);
    groups.forEach((group, i) => {
      assert.ok(group.balanceInView, `${width}: the balance of group ${i + 1} lies outside the screen`);
      assert.deepEqual(group.cut, [], `${width}: texts cut in group ${i + 1}`);
      assert.ok(group.balanceLarger, `${width}: the balance of group ${i + 1} is not the largest text`);
      assert.equal(group.note, null, `${width}: group ${i + 1} says its figures are no results`);
    });
    assert.ok(groups[1].nameLines > 1, `${width}: the long name runs over ${groups[1].nameLines} line`);
    const totals = await app.totals();
    assert.deepEqual(Object.keys(totals).sort(), ['余り', '区切額', '総人数', '総額'].sort());
    assert.equal(totals['総額'], '987654321円');
    assert.equal(await app.wordsWith('余り'), '幹事の手元に残ります');
    await app.close();
  }
});

scenario('a card is coloured by which way its money goes and says when nothing is calculated yet', async ({ open }) => {
  const app = await open({ viewport: { width: 390, height: 844, ...PHONE } });
  await app.addGroup({ name: '払う人', people: '1', advance: '0' });
  await app.addGroup({ name: '立て替えた人', people: '1', advance: '10000' });
  const before = await app.groupsAsSeen();
  assert.deepEqual(before.map((g) => g.note), ['未計算', '未計算'], 'the word beside uncalculated figures');
  assert.equal(await app.wordsWith('余り'), null, 'the remainder in words before a calculation');

  await app.enterTotal({ total: '10000', unit: '100' });
  await app.calculate('通常計算');
  assert.deepEqual((await app.rows()).map((row) => row.at(-1)), ['5000円払う', '5000円返金']);
  const after = await app.groupsAsSeen();
  assert.deepEqual(after.map((g) => g.note), [null, null], 'the word once calculated');
  assert.notEqual(after[0].colour, after[1].colour, 'paying and refunded balances look alike');

  // The simple view leaves the ratio and the advance out of the cards too.
  await app.press('簡易表示');
  await app.settled();
  assert.deepEqual(await app.rows(), [
    ['払う人', '1人', '5000円', '5000円払う'],
    ['立て替えた人', '1人', '5000円', '5000円返金'],
  ]);
});

scenario('a card whose balance comes to 0 says 精算なし beside 0円, and only once calculated', async ({ open }) => {
  const app = await open({ viewport: { width: 360, height: 640, ...PHONE } });
  await app.addGroup({ name: '幹事', people: '1', advance: '5000' });
  await app.addGroup({ name: '客', people: '1', advance: '0' });
  await app.enterTotal({ total: '10000', unit: '100' });
  assert.deepEqual((await app.groupsAsSeen()).map((g) => g.note), ['未計算', '未計算'], 'before a calculation');
  await app.calculate('通常計算');
  assert.deepEqual((await app.rows()).map((row) => row.at(-1)), ['0円\u3000\u3000', '5000円払う'], "the list's own text");
  assert.deepEqual((await app.groupsAsSeen()).map((g) => g.note), ['精算なし', null], 'once calculated');
});

scenario('on a phone a tap selects a card, the arrows move the selection and the menu opens from it', async ({ open }) => {
  const app = await open({ viewport: { width: 360, height: 640, ...PHONE } });
  for (const name of ['一', '二', '三']) {
    await app.addGroup({ name, people: '1' });
  }
  await app.selectRow(1);
  assert.deepEqual(await app.selection(), [false, true, false]);
  await app.focusList();
  await app.key('ArrowDown');
  assert.deepEqual(await app.selection(), [false, false, true]);
  await app.key('Shift+F10');
  await app.menuShown();
  await app.key('Escape');
  await app.menuClosed();
});

scenario('an empty list says what to do first, and a desktop keeps rows under column heads', async ({ open }) => {
  const app = await open({ viewport: { width: 1280, height: 800 } });
  assert.equal(await app.emptyListText(), '「追加」でグループを加えます');
  await app.addGroup({ name: '最初の組', people: '2' });
  assert.equal(await app.emptyListText(), null, 'the hint once there is a group');
  assert.equal(await app.listLayout(), 'table');
  assert.deepEqual(await app.brokenButtonTexts(), [], 'buttons whose text breaks');
  await app.press('クリア');
  await app.answer('ok');
  await app.settled();
  assert.equal(await app.emptyListText(), '「追加」でグループを加えます', 'the hint once the list is empty again');
});
