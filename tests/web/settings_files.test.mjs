// Files in and out: the settings file written and read back, the CSV file.
import assert from 'node:assert/strict';
import {
  scenario,
  typicalUse,
  golden,
  goldenPath,
  enterTypicalParty,
  assertSameSettings,
  today,
  utf16Records,
} from './harness.mjs';

scenario('設定ファイルを書き出す and CSVで保存… download the stored party and the list', async ({ open, downloaded }) => {
  const app = await open();
  await enterTypicalParty(app);
  await app.menu('設定ファイルを書き出す');
  assert.deepEqual(await downloaded('ts.cfg'), await app.storedSettings(), 'ts.cfg is the stored settings file');

  await app.menu('CSVで保存…');
  const { y, m, d } = today();
  const name = `tally-share-${y}${String(m).padStart(2, '0')}${String(d).padStart(2, '0')}.csv`;
  const csv = await downloaded(name);
  assert.deepEqual([...csv.subarray(0, 3)], [0xef, 0xbb, 0xbf], `${name} starts with the UTF-8 byte-order mark`);
  const [first] = typicalUse.groups;
  assert.ok(
    csv.subarray(3).toString('utf8').startsWith(`ｸﾞﾙｰﾌﾟ名,人数,割合,負担額,支払額,差引額\r\n${first.name},${first.people},`),
    `${name} begins ${JSON.stringify(csv.subarray(3, 90).toString('utf8'))}`,
  );
});

// A deterministic stream of bytes that is no settings file.
function noise(count, seed) {
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

const NOT_SETTINGS = [
  ['random bytes', noise(777, 20261207)],
  ['an empty file', Buffer.alloc(0)],
  [
    'a settings file of a later version',
    utf16Records('@TALLYSHARE/CONFIG,2.00', 'PEOPLE,"FIRST",100,100,2030/1/1', 'GROUP,"未来",1,100,0'),
  ],
  ['the settings text saved as UTF-8', Buffer.from(golden.toString('utf16le').replaceAll('\0', ''), 'utf8')],
];

scenario('reading a file that is no settings file says so and changes nothing', async ({ open, file, note, t }) => {
  const app = await open();
  await app.addGroup({ name: 'もとの組', people: '4', advance: '2000' });
  const stored = await app.storedSettings();
  const groups = await app.rows();
  for (const [index, [what, bytes]] of NOT_SETTINGS.entries()) {
    await t.test(what, async () => {
      await app.importFile(await file(`not-settings-${index}.cfg`, bytes));
      const box = await app.box();
      note(`${what}: ${box.caption}|${box.text.replaceAll('\n', ' / ')}`);
      assert.deepEqual(box.answers, ['ok'], 'the answers the box offers');
      await app.answer('ok');
      await app.settled();
      assert.deepEqual(await app.rows(), groups, 'the groups');
      assert.deepEqual(await app.storedSettings(), stored, 'the stored settings file');
    });
  }
});

scenario('reading a settings file asks first, then takes its party', async ({ open }) => {
  const app = await open();
  await app.addGroup({ name: 'もとの組', people: '4', advance: '2000' });
  const groups = await app.rows();

  await app.importFile(goldenPath);
  assert.deepEqual((await app.box()).answers, ['ok', 'cancel'], 'the answers to the question');
  await app.answer('cancel');
  await app.settled();
  assert.deepEqual(await app.rows(), groups, 'the groups after キャンセル');

  await app.importFile(goldenPath);
  await app.answer('ok');
  await app.settled();
  assert.deepEqual(
    (await app.rows()).map((row) => row.slice(0, 4)),
    typicalUse.rows.map((row) => row.slice(0, 4)),
    'the groups read',
  );
  const { 総人数, 総額, 区切額 } = await app.totals();
  assert.deepEqual({ 総人数, 総額, 区切額 }, { 総人数: typicalUse.totals.総人数, 総額: typicalUse.totals.総額, 区切額: typicalUse.totals.区切額 });
  assertSameSettings(await app.storedSettings(), golden, 'the stored settings file');
});
