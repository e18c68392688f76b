// What every part of the site's description stands on: how long to wait,
// how to find a control by its accessible name, and the windows of the page
// by role and caption.
export const WAIT = 10_000;
export const aria = (name, role) => `::-p-aria([name="${name}"][role="${role}"])`;

// The windows, by role and caption, and the list and its menu.
export const WINDOWS = {
  main: aria('TALLY-SHARE', 'main'),
  group: aria('グループの設定', 'dialog'),
  total: aria('情報', 'dialog'),
  menu: '::-p-aria([role="menu"])',
  box: 'dialog[role="alertdialog"][open]',
  link: aria('QRコードとリンク', 'dialog'),
  settlement: aria('精算', 'dialog'),
};
// Behind a modal window the page is inert and the accessibility tree has
// nothing: what the main window shows is read by attributes.
export const MAIN_SHOWN = 'main';
// The line the main window keeps under its title bar.
export const NOTICE = 'main [role="status"]';

// The names the site shares with the program (its storage's, the lock's),
// as the build printed them into the site (names.json), by the site's
// address.
const names = new Map();
export function siteNames(url) {
  const at = new URL('names.json', url).href;
  if (!names.has(at)) {
    names.set(at, fetch(at).then((response) => {
      if (!response.ok) {
        throw new Error(`no ${at} (${response.status})`);
      }
      return response.json();
    }));
  }
  return names.get(at);
}

// Trims ASCII white space only: the ideographic spaces that pad a balance
// are part of what the list shows.
export const trimAscii = (text) => text.replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, '');

export async function find(root, selector, what = selector) {
  return root.waitForSelector(selector, { visible: true, timeout: WAIT }).catch(() => {
    throw new Error(`no ${what} to be seen`);
  });
}

export function gone(page, selector, what) {
  return page.waitForSelector(selector, { hidden: true, timeout: WAIT }).catch(() => {
    throw new Error(`${what} stays open`);
  });
}

// Waits until fn(...args) holds in the page; `why` says what is wrong if not.
export async function until(page, fn, args, why) {
  await page.waitForFunction(fn, { timeout: WAIT }, ...args).catch(async () => {
    throw new Error(await why());
  });
}
