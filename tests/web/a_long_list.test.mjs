// A long list: its rows stand in sections the browser lays out only while
// in view. Whatever comes and goes, the rows read in the party's order, no
// section is empty or grows without bound, and the keyboard reaches every
// row.
import assert from 'node:assert/strict';
import { scenario, utf16Records } from './harness.mjs';

const names = (count) => Array.from({ length: count }, (_, i) => `組${i + 1}`);
const party = (groups) =>
  utf16Records('@TALLYSHARE/CONFIG,1.00', 'PEOPLE,"FIRST",100000,1000,2026/12/10',
    ...groups.map((name) => `GROUP,"${name}",1,100,0`));

// Reads in a party of the groups `groups`, and checks the rows and their
// sections.
async function readIn(app, file, groups) {
  await app.importFile(await file(`${groups.length}.cfg`, party(groups)));
  await app.answer('ok');
  await app.waitRowCount(groups.length);
  assert.deepEqual((await app.rows()).map((row) => row[0]), groups, `the rows of a party of ${groups.length}`);
  const sections = await app.listSections();
  assert.ok(sections.every((rows) => rows > 0 && rows <= 200), `${groups.length} rows in sections of ${sections}`);
  return sections;
}

scenario('a long list keeps its rows in order as groups come and go, in sections of a bounded size', async ({ open, file }) => {
  const app = await open();
  assert.ok((await readIn(app, file, names(250))).length > 1, 'the rows stand in one section');

  // The last row by the keyboard, and deleted.
  await app.selectRow(0);
  await app.key('End');
  assert.equal((await app.selection()).lastIndexOf(true), 249, 'the row End selects');
  await app.press('削除');
  await app.answer('ok');
  await app.waitRowCount(249);
  assert.deepEqual((await app.rows()).map((row) => row[0]), names(249), 'the rows after the last is deleted');

  // A shorter party takes rows away across sections, a longer one adds
  // them at the end, and one with the same first and last groups puts its
  // new ones between them, into a section with others after it.
  await readIn(app, file, names(120));
  await readIn(app, file, names(3));
  await readIn(app, file, names(450));
  const groups = names(250);
  await readIn(app, file, groups);
  await readIn(app, file, [...groups.slice(0, 50), ...names(300).map((name) => `新${name}`), ...groups.slice(50)]);
  await app.close();
});
