// Message boxes and dialogs that look like what they are: an error with its
// sign, the about box with the information sign, a question without one,
// every caption in a title bar; the dialogs' close box cancels; the unit's
// list offers every unit whatever the field holds.
import assert from 'node:assert/strict';
import { scenario } from './harness.mjs';

scenario('each kind of box shows its icon and its caption in a title bar', async ({ open }) => {
  const app = await open();
  const group = await app.add();
  assert.ok(await group.hasTitleBar(), "the group dialog's caption in a title bar");
  await group.fill({ name: '名前だけ', people: '' });
  await group.ok();
  const kinds = [];
  const take = async (what) => {
    const { caption } = await app.box();
    const { icon, titleBar } = await app.boxLook();
    kinds.push([what, caption, icon, titleBar]);
    assert.deepEqual(await app.axe('box'), [], `axe-core on the ${what}`);
  };
  await take('error');
  await app.answer('ok');
  await group.cancel();
  await app.press('バージョン情報');
  await take('about box');
  await app.answer('ok');
  await app.press('クリア');
  await take('question');
  await app.answer('cancel');
  assert.deepEqual(kinds, [
    ['error', 'エラー', '警告', true],
    ['about box', 'Information', '情報', true],
    ['question', 'クリア', null, true],
  ]);
});

scenario('the close box of a dialog cancels it', async ({ open }) => {
  const app = await open();
  const group = await app.add();
  await group.fill({ name: '閉じる組' });
  await group.press('閉じる');
  await group.closed();
  await app.settled();
  assert.deepEqual(await app.rows(), [], 'the rows after the close box');
  const total = await app.input();
  await total.fill({ total: '999' });
  await total.press('閉じる');
  await total.closed();
  assert.equal((await app.totals()).総額, '0円', 'the total after the close box');
});

scenario('the list of units offers every unit whatever the field holds', async ({ open }) => {
  const app = await open();
  const total = await app.input();
  await total.fill({ unit: '100' });
  assert.deepEqual(await total.choices('unit'), ['1', '10', '100', '1000', '10000'], 'with 100 in the field');
  await total.choose('unit', '10000');
  await total.waitValue('unit', '10000');
  await total.ok();
  await app.settled();
  assert.equal((await app.totals()).区切額, '10000円', 'the unit chosen from the list');
});
