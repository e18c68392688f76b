// What the QR dialog shows for the evenings of bench/link_size.cpp, read in
// as settings files through the menu: the link's length and the QR code's
// version (or none: the link alone) and its CSS pixels a module on a
// 360-pixel phone. The site is served on an address of 32 characters, as
// long as https://tally-share.example.org/, so that the figures compare
// with that table's; the browser's own deflate makes the link.
//
//   cd tests/web && node ../../bench/web/link_dialog.mjs ../../build-web/site
import { writeFile, mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { startServer } from '../../tests/web/server.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';
import { App } from '../../tests/web/site.mjs';

const siteDir = process.argv[2];
if (!siteDir) {
  console.error('usage: node bench/web/link_dialog.mjs <siteDir>');
  process.exit(2);
}

// bench/link_size.cpp's ten groups, and its evenings: each round after the
// first added as 次の会を追加 adds it (under its name, advances 0) with one
// person fewer in the third group and a total of its own, all calculated
// to the unit.
const GROUPS = [
  ['幹事チーム', 1, 100, 0], ['ゲスト 田中', 2, 90, 1500], ['営業部 佐藤', 3, 80, 3000],
  ['経理 鈴木', 4, 100, 4500], ['新人 高橋', 1, 120, 6000], ['総務 山本', 2, 100, 0],
  ['開発 中村', 3, 100, 2000], ['広報 小林', 1, 80, 0], ['人事 加藤', 2, 100, 1000],
  ['役員 吉田', 1, 150, 10000],
];
const MARKS = ['MARK,"ゲスト 田中",1,4000,-4000', 'MARK,"営業部 佐藤",2,2000,-5000'];
const EVENINGS = [
  ['1 round of 5 groups', 1, 5, []],
  ['2 rounds of 5 groups', 2, 5, []],
  ['2 × 5 with 2 marks', 2, 5, MARKS],
  ['2 × 5 with 支払先 and 2 marks', 2, 5, ['PAYEE,"PayPay ID: kanji-team"', ...MARKS]],
  ['2 × 5 with a 幹事, 支払先 and 2 marks', 2, 5, ['ORGANISER,"幹事チーム",1', 'PAYEE,"PayPay ID: kanji-team"', ...MARKS]],
  ['3 rounds of 10 groups', 3, 10, []],
];

function settingsFile(rounds, groups, extra) {
  const records = (round) => GROUPS.slice(0, groups).map(([name, people, ratio, advance], i) =>
    `GROUP,"${name}",${round > 0 && i === 2 ? Math.max(1, people - round) : people},${ratio},${round === 0 ? advance : 0}`);
  const lines = ['@TALLYSHARE/CONFIG,1.00', 'PEOPLE,"FIRST",21605,1000,2026/12/8', ...records(0)];
  if (rounds > 1 || extra.length > 0) {
    lines.push('@TALLYSHARE/CONFIG,2.00', `EVENING,${rounds},${rounds - 1}`);
    for (let round = 0; round < rounds; ++round) {
      lines.push(`ROUND,"${['', '二次会', '三次会'][round]}",u`);
      if (round > 0) {
        lines.push(`PEOPLE,"FIRST",${12000 - 3000 * round},1000,2026/12/8`, ...records(round));
      }
    }
    lines.push(...extra);
  }
  return Buffer.from(lines.map((line) => `${line}\n\0`).join(''), 'utf16le');
}

const server = await startServer(path.resolve(siteDir), 0);
// http:// + host + :port + / make 32 characters.
const host = 'tallyshare.example.org'.slice(0, 32 - 'http://'.length - `:${server.port}/`.length);
const address = `http://${host}:${server.port}/`;
// The page's host resolves to this machine, in the browser and for node's
// own reading of the site's names.
const fetchAnywhere = globalThis.fetch;
globalThis.fetch = (url, ...rest) => fetchAnywhere(String(url).replace(`//${host}:`, '//127.0.0.1:'), ...rest);
const chrome = await launchBrowser({ args: [`--host-resolver-rules=MAP ${host} 127.0.0.1`] });
const work = await mkdtemp(path.join(os.tmpdir(), 'ts-link-'));
try {
  console.log(`On ${address} (${address.length} characters), a 360×640 phone:\n`);
  console.log('| evening | link | QR version | CSS px a module |');
  console.log('| --- | ---: | ---: | ---: |');
  for (const [what, rounds, groups, extra] of EVENINGS) {
    const context = await chrome.browser.createBrowserContext();
    const app = await App.open(context, address, {
      viewport: { width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    });
    const file = path.join(work, 'evening.cfg');
    await writeFile(file, settingsFile(rounds, groups, extra));
    await app.importFile(file);
    await app.answer('ok');
    await app.settled();
    const { link, code } = await app.openLinkDialog();
    const version = code ? (code.modules - 8 - 17) / 4 : 'none (the link alone)';
    const perModule = code ? (code.width / code.modules).toFixed(2) : '';
    console.log(`| ${what} | ${link.length} characters | ${version} | ${perModule} |`);
    await context.close();
  }
} finally {
  await chrome.close();
  await server.close();
  await rm(work, { recursive: true, force: true });
}
