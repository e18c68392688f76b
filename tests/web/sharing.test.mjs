// A party shared with the people at the table: the QR code and the link,
// what the link opens on another device, and links that cannot be opened.
import assert from 'node:assert/strict';
import zlib from 'node:zlib';
import { scenario, enterTypicalParty, assertSameSettings, utf16Records, decodeQr } from './harness.mjs';

const PHONE = { width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const CHANGING = ['追加', '変更', '削除', 'クリア', '入力', '通常計算', '区切計算'];

const NAMES = ['幹事チーム', 'ゲスト 田中', '営業部 佐藤', '経理 鈴木', '新人 高橋', '総務 伊藤', '開発 渡辺',
  '企画 山本', '広報 中村', '人事 小林', '法務 加藤', '情報システム 吉田', '製造 山田', '品質 佐々木',
  '物流 山口', '購買 松本', '設計 井上', '研究 木村', '海外営業 林', '役員 清水'];

// A settings file with the first `count` groups of NAMES.
function settingsWith(count) {
  const groups = NAMES.slice(0, count).map((name, i) =>
    `GROUP,"${name}",${1 + (i % 4)},${[100, 90, 80, 100, 120][i % 5]},${(i * 1500) % 7000}`);
  return utf16Records('@TALLYSHARE/CONFIG,1.00', `PEOPLE,"FIRST",${count * 4321},1000,2026/1/1`, ...groups);
}

async function importParty(app, file, count) {
  await app.importFile(await file(`party-${count}.cfg`, settingsWith(count)));
  await app.answer('ok');
  await app.settled();
}

scenario('the QR code of five groups reads as the link on a 360 px phone; twenty get the link alone', async ({ open, file, note }) => {
  const app = await open({ viewport: PHONE });
  await importParty(app, file, 5);
  await app.calculate('区切計算');

  const shown = await app.openLinkDialog();
  assert.ok(shown.code, `a QR code for five groups (${shown.note})`);
  const version = (shown.code.modules - 8 - 17) / 4;
  const perModule = shown.code.width / shown.code.modules;
  note(`five groups: a link of ${shown.link.length} characters, QR version ${version}, ${perModule.toFixed(2)} px a module`);
  assert.ok(perModule >= 4, `${perModule} CSS px a module`);
  assert.equal(shown.note, 'このQRコードを読み取るか、リンクを開くと、同じ割り勘が見られます（見るだけ）。');
  assert.match(shown.link, new RegExp(`^${new URL(app.address()).origin}/#1[A-Za-z0-9_-]+$`), 'the link');
  assert.ok(shown.linkReadsAsItself, 'the link shows its address');
  assert.equal(await decodeQr(file, await app.qrCodePicture()), shown.link, 'what the QR code reads as');
  assert.deepEqual(await app.axe('link'), [], 'axe-core on the link dialog');
  const { problems } = await app.layout('link');
  assert.deepEqual(problems, [], 'the link dialog on the phone');

  await app.clearClipboard();
  assert.equal(await app.copyLink(), 'コピーしました');
  assert.equal(await app.clipboard(), shown.link, 'the clipboard');
  await app.closeLinkDialog();
  assert.deepEqual(await app.openWindows(), [], 'the windows open after 閉じる');

  await importParty(app, file, 20);
  const dense = await app.openLinkDialog();
  note(`twenty groups: a link of ${dense.link.length} characters`);
  assert.equal(dense.code, null, 'no QR code for twenty groups');
  assert.equal(dense.note, 'このリンクは長すぎて、テーブル越しに読み取れるQRコードにはできません。リンクを送ってください。');
  assert.match(dense.link, /#1[A-Za-z0-9_-]+$/, 'the link alone');
  await app.closeLinkDialog();
});

scenario('a link opens the party read-only on another device, and この内容で編集する stores it there', async ({ open, anotherDevice }) => {
  const sender = await open();
  await enterTypicalParty(sender);
  // A name that would be markup, were the page to take it as such.
  await sender.addGroup({ name: '<img src=x onerror=alert(1)>', people: '1' });
  const rows = await sender.rows();
  const totals = await sender.totals();
  const { link } = await sender.openLinkDialog();
  await sender.closeLinkDialog();

  const phone = await anotherDevice();
  const viewer = await phone.open({ at: link, viewport: { ...PHONE, width: 390, height: 844 } });
  assert.deepEqual(await viewer.rows(), rows, 'the groups and figures shown');
  assert.deepEqual(await viewer.totals(), totals, 'the totals shown');
  assert.equal(await viewer.notice(), '共有された割り勘（見るだけ）');
  const commands = await viewer.commands();
  assert.deepEqual(commands.filter((name) => CHANGING.includes(name)), [], 'changing commands shown');
  assert.ok(commands.includes('この内容で編集する'), `この内容で編集する among ${commands}`);
  assert.deepEqual(await viewer.axe('main'), [], 'axe-core on the read-only view');
  assert.deepEqual(await viewer.databases(), [], "the view's databases");

  await viewer.press('この内容で編集する');
  assert.deepEqual((await viewer.box()).answers, ['ok', 'cancel'], 'asked first');
  await viewer.answer('ok');
  await viewer.ownPartyShown();
  assert.deepEqual(await viewer.rows(), rows, 'the groups once taken');
  assertSameSettings(await viewer.storedSettings(), await sender.storedSettings(), 'the party stored');
  assert.equal(viewer.address(), new URL('/', link).href, 'the address once taken');
  await viewer.reload();
  assert.equal(await viewer.notice(), null, 'the notice after a reload');
  assert.deepEqual((await viewer.rows()).map((row) => row.slice(0, 4)), rows.map((row) => row.slice(0, 4)));
});

scenario('taking a shared party waits for the tab that holds the party of this device', async ({ open, anotherDevice }) => {
  const own = await open();
  await own.addGroup({ name: 'この端末の組', people: '2', advance: '500' });
  const ownStored = await own.storedSettings();

  const sender = await (await anotherDevice()).open();
  await sender.addGroup({ name: '送られた組', people: '3', advance: '1200' });
  const { link } = await sender.openLinkDialog();

  const viewer = await open({ at: link });
  const shared = await viewer.rows();
  assert.equal(await viewer.notice(), '共有された割り勘（見るだけ）', 'the view opens beside the own tab');
  await viewer.press('この内容で編集する');
  await viewer.answer('ok');
  assert.match(await viewer.waitElsewhereNotice(), /別のタブ/, 'what the view says while the own tab is open');
  assert.deepEqual(await own.storedSettings(), ownStored, 'the stored party while the own tab is open');

  await own.close();
  await viewer.ownPartyShown();
  assert.deepEqual(await viewer.rows(), shared, 'the groups once taken');
  assertSameSettings(await viewer.storedSettings(), await sender.storedSettings(), 'the party stored');
});

// The refusals the program tells apart are its own tests' (tests/app); here
// the browser's inflate and its limits. Base64url of deflate data (zlib's
// format, as the page makes it).
const fragmentOf = (text) => `1${zlib.deflateSync(Buffer.from(text, 'utf8')).toString('base64url')}`;

scenario('a cut, altered, random or oversized link says so and changes nothing', async ({ open, t }) => {
  const app = await open();
  await app.addGroup({ name: 'もとの組', people: '4', advance: '2000' });
  const { link } = await app.openLinkDialog();
  await app.closeLinkDialog();
  const groups = await app.rows();
  const stored = await app.storedSettings();
  const home = new URL('/', link).href;
  await app.close();

  const fragment = link.slice(link.indexOf('#') + 1);
  const middle = fragment.length >> 1;
  const unreadable = 'このリンクは壊れているため開けませんでした。\nこの端末の内容は変わっていません。';
  const tooLarge = 'このリンクは大きすぎるため開けませんでした。\nこの端末の内容は変わっていません。';
  const bad = [
    ['cut short', fragment.slice(0, -8), unreadable],
    ['one character altered', fragment.slice(0, middle) + (fragment[middle] === 'A' ? 'B' : 'A') + fragment.slice(middle + 1), unreadable],
    ['random', `1${Buffer.from(Array.from({ length: 240 }, (_, i) => (i * 73 + 19) & 0xff)).toString('base64url')}`, unreadable],
    ['longer than any link', `1${'A'.repeat(100_000)}`, tooLarge],
    ['inflating past any party', fragmentOf(`y\nPEOPLE,"P",1,100,\n${'GROUP,"G",1,100,0\n'.repeat(5000)}`), tooLarge],
  ];
  for (const [what, hash, said] of bad) {
    await t.test(what, async () => {
      const tab = await open({ at: `${home}#${hash}`, ready: false });
      assert.deepEqual(await tab.box(), { caption: 'エラー', text: said, answers: ['ok'] });
      await tab.answer('ok');
      await tab.ready();
      assert.deepEqual(await tab.rows(), groups, 'the groups');
      assert.deepEqual(await tab.storedSettings(), stored, 'the stored settings file');
      assert.equal(tab.address(), home, 'the address');
      await tab.close();
    });
  }
  await t.test('a link of a later version followed in a tab that runs already', async () => {
    const tab = await open();
    // A format after the evening's (2).
    await tab.follow(`${home}#3${fragment.slice(1)}`);
    assert.equal((await tab.box()).text, 'このリンクを開くには、新しい版の TALLY-SHARE が必要です。\nこの端末の内容は変わっていません。');
    await tab.answer('ok');
    await tab.ready();
    assert.deepEqual(await tab.rows(), groups, 'the groups');
    assert.equal(tab.address(), home, 'the address');
  });
});
