// The typical use, typed in as a person does, and what it leads to: the
// figures, the stored settings file, a recalculation, the clipboard.
import assert from 'node:assert/strict';
import { scenario, typicalUse, golden, enterTypicalParty, assertSameSettings, records } from './harness.mjs';

const yen = (cell) => cell.replace(/円$/, '');

scenario('typical use: the party typed in is shown and stored as the desktop program saves it', async ({ open }) => {
  const app = await open();
  assert.deepEqual(await app.rows(), [], 'the list at first start');
  const { 総人数, 区切額 } = await app.totals();
  assert.deepEqual({ 総人数, 区切額 }, { 総人数: '0人', 区切額: '100円' }, 'the totals at first start');

  for (const [index, group] of typicalUse.groups.entries()) {
    const dialog = await app.add();
    if (index === 0) {
      assert.deepEqual(
        await dialog.values(),
        { name: '新規', people: '1', ratio: '100', advance: '0', addend: '' },
        "a new group's fields",
      );
    }
    await dialog.fill({ name: group.name });
    if (group.how === 'arrows') {
      await dialog.fill({ people: '' });
      await dialog.ok();
      assert.deepEqual(
        await app.box(),
        { caption: 'エラー', text: 'このグループの人数を入力してください', answers: ['ok'] },
        'the box on an empty people field',
      );
      await app.answer('ok');
      assert.ok(await dialog.isOpen(), 'the group dialog stays open after the refusal');
      await dialog.fill({ people: '1' });
      for (let people = 2; people <= Number(group.people); people++) {
        await dialog.step('people', 'up');
        await dialog.waitValue('people', String(people));
      }
      for (let ratio = 90; ratio >= Number(group.ratio); ratio -= 10) {
        await dialog.step('ratio', 'down');
        await dialog.waitValue('ratio', String(ratio));
      }
      await dialog.fill({ advance: group.advance });
    } else {
      await dialog.fill({ people: group.people, ratio: group.ratio, advance: group.advance, addend: group.addend });
      await dialog.press('負担額に加える');
      await dialog.waitValue('advance', yen(typicalUse.rows[index][3]));
    }
    await dialog.ok();
    await app.waitRowCount(index + 1);
  }

  const total = await app.input();
  assert.deepEqual(await total.values(), { total: '0', unit: '100' }, 'the total dialog at first');
  assert.equal((await total.choices('unit')).length, 5, 'the units offered');
  await total.press('総負担額を入れる');
  await total.waitValue('total', typicalUse.advances);
  await total.fill({ total: '' });
  await total.ok();
  assert.deepEqual(
    await app.box(),
    { caption: 'エラー', text: '総額を入力してください', answers: ['ok'] },
    'the box on an empty total',
  );
  await app.answer('ok');
  assert.ok(await total.isOpen(), 'the total dialog stays open after the refusal');
  await total.fill({ total: typicalUse.total, unit: typicalUse.unit });
  await total.ok();

  await app.calculate('区切計算');
  assert.deepEqual(await app.rows(), typicalUse.rows, 'the list after 区切計算');
  assert.deepEqual(await app.totals(), typicalUse.totals, 'the totals after 区切計算');
  assertSameSettings(await app.storedSettings(), golden, 'the stored settings file');
});

scenario('a change to a group recalculates the figures at once', async ({ open }) => {
  const app = await open();
  await enterTypicalParty(app);
  const before = { rows: await app.rows(), totals: await app.totals() };

  await app.selectRow(1);
  assert.deepEqual(await app.selection(), [false, true], 'the selection after a click on row 2');
  const dialog = await app.change();
  const guest = typicalUse.groups[1];
  const { name, people } = await dialog.values();
  assert.deepEqual({ name, people }, { name: guest.name, people: guest.people }, 'the group dialog on 変更');
  await dialog.fill({ people: '4' });
  await dialog.ok();
  await app.settled();

  const after = { rows: await app.rows(), totals: await app.totals() };
  assert.deepEqual(after.rows[1].slice(0, 2), [guest.name, '4人'], 'the changed row');
  assert.equal(after.totals.総人数, '6人', 'the people in all');
  assert.notEqual(after.rows[1][4], before.rows[1][4], "the changed group's share is calculated again");
  assert.notEqual(after.totals.余り, before.totals.余り, 'the remainder is calculated again');
  assert.equal(after.totals.総額, before.totals.総額, 'the total');
  const stored = records(await app.storedSettings());
  assert.ok(
    stored.some((record) => record.startsWith(`GROUP,"${guest.name}",4,`)),
    `the stored party has the change: ${JSON.stringify(stored)}`,
  );
});

scenario('コピー, 送る and 送る文面をコピー put the list and the chat text on the clipboard', async ({ open, note }) => {
  const app = await open();
  await enterTypicalParty(app);
  await app.clearClipboard();
  await app.menu('コピー');
  await app.settled();
  // Lines end as the platform's do: LF here, CR LF on Windows.
  const list = (await app.clipboard()).replaceAll('\r\n', '\n');
  const lines = ['ｸﾞﾙｰﾌﾟ名\t人数\t割合\t負担額\t支払額\t差引額', ...typicalUse.rows.map((row) => row.join('\t'))];
  assert.equal(list.split('\n').slice(0, lines.length).join('\n'), lines.join('\n'), 'コピー: titles and rows');

  if (await app.canShare()) {
    note('this Chromium has navigator.share: 送る is left to its share sheet');
    return;
  }
  await app.clearClipboard();
  await app.press('送る');
  await app.settled();
  const chat = await app.clipboard();
  for (const group of typicalUse.groups) {
    assert.ok(chat.includes(group.name), `送る put ${JSON.stringify(chat)}, without ${group.name}`);
  }
  await app.clearClipboard();
  await app.menu('送る文面をコピー');
  await app.settled();
  // 送る ends with the link to the party, where a chat makes it something to tap.
  const { link } = await app.openLinkDialog();
  await app.closeLinkDialog();
  assert.equal(`${await app.clipboard()}${link}\n`, chat, '送る文面をコピー puts what 送る does, less the link');
});
