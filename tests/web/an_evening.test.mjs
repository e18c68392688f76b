// An evening of two rounds on a phone, from the first group to the link:
// 一次会 entered and calculated, 二次会 added with fewer people, 精算 with
// its figures, two members marked, the reminder, and the QR code read back
// and opened on another phone, where the same settlement shows read-only.
import assert from 'node:assert/strict';
import { scenario, decodeQr } from './harness.mjs';

const PHONE = { deviceScaleFactor: 2, isMobile: true, hasTouch: true };

// 一次会: 48000 yen to 1000 yen (区切計算), nobody has paid anything yet.
// The weight is 1 + 2×0.9 + 3×0.8 + 4 + 0.5 = 9.7, a full share 48000 / 9.7
// = 4948.45: 100 % owes 4948.45, 90 % 4453.61, 80 % 3958.76 and 50 %
// 2474.23, each rounded up to 5000, 5000, 4000 and 3000 yen. The shares
// come to 50000, which leaves 2000.
const GROUPS = [
  { name: '幹事チーム', people: '1', ratio: '100', balance: '5000円払う' },
  { name: 'ゲスト 田中', people: '2', ratio: '90', balance: '5000円払う' },
  { name: '営業部 佐藤', people: '3', ratio: '80', balance: '4000円払う' },
  { name: '経理 鈴木', people: '4', ratio: '100', balance: '5000円払う' },
  { name: '新人 高橋', people: '1', ratio: '50', balance: '3000円払う' },
];
// 二次会: two of 営業部 佐藤 went home; 20000 yen to 1000 yen. The weight is
// 9.7 − 2×0.8 = 8.1, a full share 2469.14: 100 % 2469.14, 90 % 2222.22,
// 80 % 1975.31, 50 % 1234.57, rounded up to 3000, 3000, 2000 and 2000.
// The shares come to 25000, which leaves 5000.
const SECOND = ['3000円払う', '3000円払う', '2000円払う', '3000円払う', '2000円払う'];

// Each class pays the organiser (outside the groups) its rounds' figures:
// 営業部 佐藤 member 1 stayed for both rounds, members 2 and 3 only for
// 一次会. The classes come to 2×8000 + 6000 + 2×4000 + 8000 + 5000 +
// 4×8000 = 75000 yen; the organiser paid the venues 68000 and keeps the
// rounds' remainders, 2000 + 5000 = 7000.
const both = '（一次会・二次会）';
const CLASSES = [
  { label: `ゲスト 田中 2人${both}`, figure: '8000円払う', parts: '一次会 5000円払う + 二次会 3000円払う' },
  { label: `営業部 佐藤 1人${both}`, figure: '6000円払う', parts: '一次会 4000円払う + 二次会 2000円払う' },
  { label: '営業部 佐藤 2人（一次会）', figure: '4000円払う', parts: '一次会 4000円払う' },
  { label: `幹事チーム 1人${both}`, figure: '8000円払う', parts: '一次会 5000円払う + 二次会 3000円払う' },
  { label: `新人 高橋 1人${both}`, figure: '5000円払う', parts: '一次会 3000円払う + 二次会 2000円払う' },
  { label: `経理 鈴木 4人${both}`, figure: '8000円払う', parts: '一次会 5000円払う + 二次会 3000円払う' },
];
// Settled and left per class before the marks, and after one member of
// ゲスト 田中 and one of 経理 鈴木 have paid: 75000 − 8000 − 8000 = 59000
// left to collect.
const UNMARKED = [['0/2人', '16000円払う'], ['0/1人', '6000円払う'], ['0/2人', '8000円払う'], ['0/1人', '8000円払う'], ['0/1人', '5000円払う'], ['0/4人', '32000円払う']];
const MARKED = [['1/2人', '8000円払う'], ...UNMARKED.slice(1, 5), ['1/4人', '24000円払う']];
const ORGANISER_LINE = '幹事（グループ外）の手元に残る額：7000円';
const PAYEE = 'PayPay ID: kanji-team';
// Who still owes, member by member, and where to pay.
const REMINDER = [
  '精算のお願い',
  `ゲスト 田中 2人${both}：1人 8000円払う`,
  '・2人目 8000円',
  `営業部 佐藤 1人${both}：1人 6000円払う`,
  '・1人目 6000円',
  '営業部 佐藤 2人（一次会）：1人 4000円払う',
  '・2〜3人目 4000円',
  `幹事チーム 1人${both}：1人 8000円払う`,
  '・1人目 8000円',
  `新人 高橋 1人${both}：1人 5000円払う`,
  '・1人目 5000円',
  `経理 鈴木 4人${both}：1人 8000円払う`,
  '・2〜4人目 8000円',
  `支払先：${PAYEE}`,
  '',
].join('\n');

const withCounts = (counts) => CLASSES.map((c, i) => ({ ...c, settled: counts[i][0], left: counts[i][1] }));

scenario('an evening of two rounds is entered, settled, marked, reminded and shared read-only on phones', async ({ open, anotherDevice, file, note }) => {
  const app = await open({ viewport: { width: 390, height: 844, ...PHONE } });
  for (const { name, people, ratio } of GROUPS) {
    await app.addGroup({ name, people, ratio, advance: '0' });
  }
  await app.enterTotal({ total: '48000', unit: '1000' });
  await app.calculate('区切計算');
  assert.deepEqual((await app.rows()).map((row) => row.at(-1)), GROUPS.map((g) => g.balance), '一次会');
  assert.equal((await app.totals())['余り'], '2000円');
  assert.equal(await app.rounds(), null, 'the round selector with one round');

  // One round: the list's menu has the round commands.
  await app.menu('次の会を追加');
  await app.settled();
  assert.deepEqual(await app.rounds(), { names: ['一次会', '二次会'], shown: '二次会' });
  await app.selectRow(2);
  const dialog = await app.change();
  await dialog.fill({ people: '1' });
  await dialog.ok();
  await app.settled();
  await app.enterTotal({ total: '20000', unit: '1000' });
  await app.calculate('区切計算');
  assert.deepEqual((await app.rows()).map((row) => row.at(-1)), SECOND, '二次会');
  assert.deepEqual(await app.totals(), { 総人数: '9人', 総額: '20000円', 区切額: '1000円', 余り: '5000円' });
  const rounds = { 二次会: await app.rows() };
  await app.chooseRound('一次会');
  rounds['一次会'] = await app.rows();
  assert.deepEqual(rounds['一次会'].map((row) => row.at(-1)), GROUPS.map((g) => g.balance), '一次会 again');

  // Two rounds: the selector's menu, at the bottom, has them and 精算.
  assert.deepEqual(await app.roundMenuEntries(), ['次の会を追加', '会の名前を変更', 'この会を削除', '精算']);
  await app.roundMenu('精算');
  assert.deepEqual(await app.settlement(), {
    classes: withCounts(UNMARKED),
    said: [ORGANISER_LINE, '集金残り 75000円　返金残り 0円', '幹事', '支払先'],
  });
  assert.deepEqual(await app.axe('settlement'), [], 'axe-core on the settlement');
  await app.markOnCard(`ゲスト 田中 2人${both}`);
  await app.markOnCard(`経理 鈴木 4人${both}`);
  const marked = await app.settlement();
  assert.deepEqual(marked.classes, withCounts(MARKED), 'after two marks');
  assert.equal(marked.said[1], '集金残り 59000円　返金残り 0円');
  await app.enterPayee(PAYEE);
  assert.equal(await app.copyReminder(), REMINDER);
  await app.closeSettlement();
  await app.settled();

  const shown = await app.openLinkDialog();
  assert.ok(shown.code, `a QR code for two rounds of five groups (${shown.note})`);
  const version = (shown.code.modules - 8 - 17) / 4;
  note(`two rounds of five groups: a link of ${shown.link.length} characters, QR version ${version}, ` +
       `${(shown.code.width / shown.code.modules).toFixed(2)} px a module at 390 px`);
  assert.match(shown.link, /#2[A-Za-z0-9_-]+$/, 'a link of the evening');
  assert.equal(await decodeQr(file, await app.qrCodePicture()), shown.link, 'what the QR code reads as');
  await app.closeLinkDialog();

  // Another phone opens what the code says: every round and the same
  // settlement with its marks, to look at only.
  const viewer = await (await anotherDevice()).open({ at: shown.link, viewport: { width: 360, height: 640, ...PHONE } });
  assert.equal(await viewer.notice(), '共有された割り勘（見るだけ）');
  assert.deepEqual(await viewer.rounds(), { names: ['一次会', '二次会'], shown: '一次会' });
  assert.deepEqual(await viewer.rows(), rounds['一次会'], '一次会 on the other phone');
  await viewer.chooseRound('二次会');
  assert.deepEqual(await viewer.rows(), rounds['二次会'], '二次会 on the other phone');
  assert.deepEqual(await viewer.roundMenuEntries(), ['精算'], 'the round menu of the read-only view');
  await viewer.roundMenu('精算');
  assert.deepEqual(await viewer.settlement(), { classes: marked.classes, said: [ORGANISER_LINE, '集金残り 59000円　返金残り 0円'] });
  assert.deepEqual(await viewer.cardMarks(), CLASSES.map(() => null), 'the cards offer 済');
  assert.deepEqual((await viewer.layout('settlement')).problems, [], 'the read-only settlement at 360×640');
  assert.equal(await viewer.copyReminder(), REMINDER, 'the reminder of the read-only view');
  assert.deepEqual(await viewer.databases(), [], "the view's databases");
});
