// The site as a person sees it: the words the browser tests are written in.
// Every selector and attribute of the page, and where the site keeps the
// party, are known in this file only: a change to the page (cards in place
// of table rows, title bars on the boxes, a new dialog) is met here.
//
// Controls are found by their accessible names (puppeteer's ::-p-aria), as a
// screen reader finds them: a control that loses its name is not found.
import { readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';

const WAIT = 10_000;
const aria = (name, role) => `::-p-aria([name="${name}"][role="${role}"])`;

// The windows, by role and caption, and the list and its menu.
const WINDOWS = {
  main: aria('TALLY-SHARE', 'main'),
  group: aria('グループの設定', 'dialog'),
  total: aria('情報', 'dialog'),
  menu: '::-p-aria([role="menu"])',
  box: 'dialog[role="alertdialog"][open]',
  link: aria('QRコードとリンク', 'dialog'),
};
const LIST = aria('グループ一覧', 'grid');
const MENU_BUTTON = aria('グループ一覧のメニュー', 'button');
// Behind a modal window the page is inert and the accessibility tree has
// nothing: what the main window shows is read by attributes.
const MAIN_SHOWN = 'main';
const LIST_SHOWN = '[role="grid"][aria-label="グループ一覧"]';
const ROWS = 'tbody tr';
const OPEN_WINDOW = 'dialog[open]';

// A message box's answers by the names of their buttons.
const ANSWERS = { ok: 'OK', cancel: 'キャンセル', retry: '再試行', yes: 'はい', no: 'いいえ' };
// The dialogs' fields: the tests' word for each, and its accessible name.
const FIELDS = {
  group: { name: '名称', people: '人数', ratio: '割合', advance: '負担額', addend: '加える額' },
  total: { total: '総額', unit: '区切額' },
};
// The fields a phone should open its number keyboard for.
const NUMBER_FIELDS = { group: ['人数', '割合', '負担額', '加える額'], total: ['総額', '区切額'] };

// Trims ASCII white space only: the ideographic spaces that pad a balance
// are part of what the list shows.
const trimAscii = (text) => text.replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, '');

async function find(root, selector, what = selector) {
  return root.waitForSelector(selector, { visible: true, timeout: WAIT }).catch(() => {
    throw new Error(`no ${what} to be seen`);
  });
}

function gone(page, selector, what) {
  return page.waitForSelector(selector, { hidden: true, timeout: WAIT }).catch(() => {
    throw new Error(`${what} stays open`);
  });
}

// Waits until fn(...args) holds in the page; `why` says what is wrong if not.
async function until(page, fn, args, why) {
  await page.waitForFunction(fn, { timeout: WAIT }, ...args).catch(async () => {
    throw new Error(await why());
  });
}

// A dialog of the program: fields by the tests' words, buttons by name.
// The dialog and its fields stay the same elements while it is open.
class Dialog {
  #handle = null;
  #fields = new Map();

  constructor(app, which) {
    Object.assign(this, { app, which, page: app.page, names: FIELDS[which] });
  }

  async #element() {
    this.#handle ??= await find(this.page, WINDOWS[this.which], `the ${this.which} dialog`);
    return this.#handle;
  }

  async #field(key) {
    if (!this.#fields.has(key)) {
      const name = this.names[key];
      this.#fields.set(key, await find(await this.#element(), `::-p-aria([name="${name}"])`, `the field ${name}`));
    }
    return this.#fields.get(key);
  }

  // The fields' texts, by the tests' words.
  async values() {
    const read = async (key) => [key, await (await this.#field(key)).evaluate((input) => input.value)];
    return Object.fromEntries(await Promise.all(Object.keys(this.names).map(read)));
  }

  // Types into the fields given, as a person does: select all, delete,
  // type (characters without a key, such as full-width digits, arrive as
  // text input).
  async fill(values) {
    for (const [key, text] of Object.entries(values)) {
      if (text !== undefined) {
        const field = await this.#field(key);
        await field.click();
        await field.evaluate((input) => input.select());
        await this.page.keyboard.press('Backspace');
        await this.page.keyboard.type(String(text));
      }
    }
  }

  async press(name) {
    await (await find(await this.#element(), aria(name, 'button'), `the button ${name}`)).click();
  }

  // OK and CANCEL wait until the dialog has closed, or a box has come up
  // over it (a refusal).
  async ok() {
    await this.#closeWith('OK');
  }

  async cancel() {
    await this.#closeWith('CANCEL');
  }

  async #closeWith(name) {
    const dialog = await this.#element();
    await this.press(name);
    const closedOrRefused = (d, box) => !d.isConnected || !d.open || document.querySelector(box) !== null;
    await until(this.page, closedOrRefused, [dialog, WINDOWS.box], () => `the ${this.which} dialog stays open`);
  }

  // Presses an arrow beside a field (people or ratio): 'up' or 'down'.
  async step(key, direction) {
    const arrows = await find(await this.#element(), aria(`${this.names[key]}の増減`, 'group'));
    await (await find(arrows, aria(direction === 'up' ? '増やす' : '減らす', 'button'))).click();
  }

  // Waits until a field reads `text`.
  async waitValue(key, text) {
    const field = await this.#field(key);
    await until(this.page, (input, v) => input.value === v, [field, text], async () =>
      `${key} reads ${JSON.stringify(await field.evaluate((input) => input.value))}, not ${text}`);
  }

  // The choices a field's list offers when its button opens it (the
  // unit's), read from the list the field names; the list is closed again.
  async choices(key) {
    const name = this.names[key];
    const dialog = await this.#element();
    await (await find(dialog, aria(`${name}の候補を表示`, 'button'))).click();
    const list = await find(dialog, aria(name, 'listbox'), `the choices of ${name}`);
    const shown = await list.evaluate((l) => (l.checkVisibility() ? [...l.querySelectorAll('[role="option"]')].map((o) => o.textContent) : null));
    await (await this.#field(key)).press('Escape');
    await until(this.page, (l) => !l.checkVisibility(), [list], () => `the choices of ${name} stay open`);
    return shown;
  }

  // Chooses `text` in a field's list of choices.
  async choose(key, text) {
    const name = this.names[key];
    const dialog = await this.#element();
    await (await find(dialog, aria(`${name}の候補を表示`, 'button'))).click();
    await (await find(dialog, aria(text, 'option'), `the choice ${text}`)).click();
  }

  // Whether the dialog's caption stands in a title bar like the main
  // window's.
  async hasTitleBar() {
    return (await this.#element()).evaluate((dialog) => {
      const bar = document.getElementById(dialog.getAttribute('aria-labelledby'))?.closest('header');
      const mainBar = document.querySelector('main header');
      return Boolean(bar && mainBar && bar.className === mainBar.className);
    });
  }

  async isOpen() {
    return (await this.page.$(WINDOWS[this.which])) !== null;
  }

  closed() {
    return gone(this.page, WINDOWS[this.which], `the ${this.which} dialog`);
  }
}

export class App {
  constructor(page) {
    this.page = page;
  }

  // Opens the site in a new tab and waits until the main window takes
  // commands (with ready: false, only until the page has loaded).
  // `quota` limits the site's storage (bytes) before the page opens its
  // database: Chromium holds only databases opened later to a new quota.
  static async open(context, url, { viewport = { width: 1280, height: 800 }, ready = true, onError, quota } = {}) {
    const page = await context.newPage();
    if (onError) {
      page.on('pageerror', (error) => onError(`uncaught error in the page: ${error.message}`));
      page.on('console', (m) => m.type() === 'error' && onError(`console error: ${m.text()}`, { noteOnly: true }));
    }
    await page.setViewport(viewport);
    const app = new App(page);
    if (quota !== undefined) {
      await app.limitStorage(quota, url);
    }
    await page.goto(url, { waitUntil: 'load' });
    if (ready) {
      await app.ready();
    }
    return app;
  }

  async ready() {
    await until(this.page, () => document.body?.dataset.ready === '1', [], () => 'the main window never became ready');
  }

  isReady() {
    return this.page.evaluate(() => document.body?.dataset.ready === '1');
  }

  async reload({ offline = false } = {}) {
    await this.page.setOfflineMode(offline);
    await this.page.reload({ waitUntil: 'load' });
    await this.ready();
  }

  close() {
    return this.page.close();
  }

  // --- The main window.

  async press(name) {
    await (await find(await find(this.page, WINDOWS.main, 'the main window'), aria(name, 'button'))).click();
  }

  async add() {
    await this.press('追加');
    return this.#dialog('group');
  }

  async change() {
    await this.press('変更');
    return this.#dialog('group');
  }

  async input() {
    await this.press('入力');
    return this.#dialog('total');
  }

  async #dialog(which) {
    await find(this.page, WINDOWS[which], `the ${which} dialog`);
    return new Dialog(this, which);
  }

  // Adds a group through the group dialog; `addend` goes in with "+".
  async addGroup({ name, people, ratio, advance, addend }) {
    const dialog = await this.add();
    await dialog.fill({ name, people, ratio, advance });
    if (addend) {
      await dialog.fill({ addend });
      await dialog.press('負担額に加える');
    }
    await dialog.ok();
    await this.settled();
  }

  async enterTotal({ total, unit }) {
    const dialog = await this.input();
    await dialog.fill({ total, unit });
    await dialog.ok();
    await this.settled();
  }

  // 通常計算 or 区切計算.
  async calculate(how) {
    await this.press(how);
    await this.settled();
  }

  // Resolves once the program has handled everything the page handed it
  // (and stored the party): the program opens the list's menu only from
  // its idle loop. The menu is closed again.
  async settled() {
    const open = await this.openWindows();
    if (open.length > 0) {
      throw new Error(`the main window is not idle: ${JSON.stringify(open)} open`);
    }
    await this.openMenu();
    await this.key('Escape');
    await this.menuClosed();
  }

  // The list: one array of cell texts per group, as shown.
  async rows() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    const rows = await list.$$eval(ROWS, (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
    return rows.map((row) => row.map(trimAscii));
  }

  // The line below the list by the names its values are read out with
  // ("総人数 5人" is { 総人数: '5人' }); a name that does not end in the
  // value shown is kept whole, for the comparison to show.
  async totals() {
    const main = await find(this.page, MAIN_SHOWN, 'the main window');
    const outputs = await main.$$eval('output', (all) => all.map((o) => [o.getAttribute('aria-label'), o.textContent]));
    return Object.fromEntries(
      outputs.map(([name, shown]) => {
        const text = trimAscii(shown);
        return [name?.endsWith(` ${text}`) ? name.slice(0, -text.length - 1) : String(name), text];
      }),
    );
  }

  async waitRowCount(count) {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    await until(this.page, (l, s, n) => l.querySelectorAll(s).length === n, [list, ROWS, count], async () =>
      `the list shows ${(await this.rows()).length} groups, not ${count}`);
  }

  // Waits until cell `column` of row `row` reads `text`.
  async waitCell(row, column, text) {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    await until(this.page, (l, s, r, c, v) => l.querySelectorAll(s)[r]?.cells[c]?.textContent.trim() === v, [list, ROWS, row, column, text],
      async () => `row ${row} reads ${JSON.stringify((await this.rows())[row])}, not ${text} in cell ${column}`);
  }

  async selectRow(index) {
    const row = (await (await find(this.page, LIST)).$$(ROWS))[index];
    await row.click();
    await until(this.page, (tr) => tr.getAttribute('aria-selected') === 'true', [row], () => `row ${index} not selected`);
  }

  // The rows' selection, one boolean per row.
  async selection() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.$$eval(ROWS, (trs) => trs.map((tr) => tr.getAttribute('aria-selected') === 'true'));
  }

  async focusList() {
    await (await find(this.page, LIST, 'the group list')).focus();
  }

  async listHasFocus() {
    return (await find(this.page, LIST, 'the group list')).evaluate((list) => list === document.activeElement);
  }

  async rightClickList() {
    await (await find(this.page, LIST, 'the group list')).click({ button: 'right' });
  }

  // Rests a finger on a row and runs `whilePressed` before lifting it.
  async longPress(index, whilePressed) {
    const box = await (await (await find(this.page, LIST)).$$(ROWS))[index].boundingBox();
    await this.page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    try {
      await whilePressed();
    } finally {
      await this.page.touchscreen.touchEnd();
    }
  }

  // A key as the focused control gets it; "Shift+F10" holds Shift.
  async key(keys) {
    const modifiers = keys.split('+');
    const key = modifiers.pop();
    for (const modifier of modifiers) {
      await this.page.keyboard.down(modifier);
    }
    await this.page.keyboard.press(key);
    for (const modifier of modifiers.reverse()) {
      await this.page.keyboard.up(modifier);
    }
  }

  // --- The list's menu and the windows over the main window.

  async openMenu() {
    await (await find(this.page, MENU_BUTTON, 'the menu button')).click();
    await this.menuShown();
  }

  menuShown() {
    return find(this.page, WINDOWS.menu, 'the list menu');
  }

  menuClosed() {
    return gone(this.page, WINDOWS.menu, 'the list menu');
  }

  // Picks an entry of the list's menu by its name.
  async menu(entry) {
    await this.openMenu();
    await (await find(await this.menuShown(), aria(entry, 'menuitem'), `the menu entry ${entry}`)).click();
  }

  async focusInMenu() {
    return (await this.menuShown()).evaluate((menu) => menu.contains(document.activeElement));
  }

  // The captions of the windows open over the main window, topmost last.
  openWindows() {
    return this.page.$$eval(OPEN_WINDOW, (all) =>
      all.map((w) => document.getElementById(w.getAttribute('aria-labelledby'))?.textContent ?? w.getAttribute('aria-label')),
    );
  }

  // The message box that is up: its caption, text and answers.
  async box() {
    const box = await find(this.page, WINDOWS.box, 'a message box');
    const { caption, text, buttons } = await box.evaluate((element) => {
      const byId = (attribute) => document.getElementById(element.getAttribute(attribute))?.textContent.trim() ?? null;
      const buttons = [...element.querySelectorAll('button')].map((b) => b.textContent.trim());
      return { caption: byId('aria-labelledby'), text: byId('aria-describedby'), buttons };
    });
    const keys = Object.fromEntries(Object.entries(ANSWERS).map(([key, label]) => [label, key]));
    return { caption, text, answers: buttons.map((label) => keys[label] ?? label) };
  }

  // How the message box that is up looks: the name of its icon (null
  // without one) and whether its caption stands in a title bar drawn as the
  // main window's is.
  async boxLook() {
    const box = await find(this.page, WINDOWS.box, 'a message box');
    return box.evaluate((element) => {
      const bar = document.getElementById(element.getAttribute('aria-labelledby'))?.closest('header');
      const mainBar = document.querySelector('main header');
      const looks = (e) => ['backgroundColor', 'color'].map((p) => getComputedStyle(e)[p]).join();
      return {
        icon: element.querySelector('[role="img"]')?.getAttribute('aria-label') ?? null,
        titleBar: Boolean(bar && mainBar && bar.className === mainBar.className && looks(bar) === looks(mainBar)),
      };
    });
  }

  // Answers the message box that is up: 'ok', 'cancel', 'retry', 'yes', 'no'.
  // With { another: true } the answer brings up another box at once.
  async answer(key, { another = false } = {}) {
    const { text } = another ? await this.box() : {};
    await (await find(await find(this.page, WINDOWS.box, 'a message box'), aria(ANSWERS[key], 'button'))).click();
    if (!another) {
      await this.boxClosed();
      return;
    }
    const next = (box, before) => {
      const up = document.querySelector(box);
      return up !== null && document.getElementById(up.getAttribute('aria-describedby'))?.textContent.trim() !== before;
    };
    await until(this.page, next, [WINDOWS.box, text], () => 'no other message box came up');
  }

  boxClosed() {
    return gone(this.page, WINDOWS.box, 'the message box');
  }

  // Chooses `file` in the file picker that 設定ファイルを読み込む… opens.
  async importFile(file) {
    const [chooser] = await Promise.all([
      this.page.waitForFileChooser({ timeout: WAIT }),
      this.menu('設定ファイルを読み込む…'),
    ]);
    await chooser.accept([file]);
  }

  // --- What the page keeps and hands out.

  // The bytes of the settings file the site keeps for the party, or null:
  // IndexedDB database "tally-share", store "files", key "ts.cfg". Opening
  // the database never makes it, which would get in the program's way.
  async storedSettings() {
    const bytes = await this.page.evaluate(
      () =>
        new Promise((resolve, reject) => {
          const open = indexedDB.open('tally-share');
          open.onupgradeneeded = () => open.transaction.abort();
          open.onerror = (event) => event.preventDefault() ?? resolve(null);
          open.onsuccess = () => {
            const db = open.result;
            const store = db.objectStoreNames.contains('files') && db.transaction('files').objectStore('files');
            const get = store && store.get('ts.cfg');
            db.close();
            if (!get) {
              return resolve(null);
            }
            get.onerror = () => reject(get.error);
            get.onsuccess = () => {
              const contents = get.result;
              resolve(contents instanceof Uint8Array ? [...contents] : contents === undefined ? null : 'not bytes');
            };
          };
        }),
    );
    if (bytes === 'not bytes') {
      throw new Error('the stored settings file is not kept as bytes');
    }
    return bytes && Buffer.from(bytes);
  }

  clipboard() {
    return this.page.evaluate(() => navigator.clipboard.readText());
  }

  clearClipboard() {
    return this.page.evaluate(() => navigator.clipboard.writeText(''));
  }

  canShare() {
    return this.page.evaluate(() => typeof navigator.share === 'function');
  }

  // --- Start-up: the service worker and a second tab.

  // The script of the service worker that has taken the site on, or what
  // stands in its way.
  serviceWorker() {
    return this.page.evaluate(async (timeout) => {
      const late = new Promise((resolve) => setTimeout(() => resolve('no service worker ready in time'), timeout));
      const ready = navigator.serviceWorker?.ready.then((r) => r.active?.scriptURL ?? 'no active worker');
      return ready ? Promise.race([ready, late]) : 'no navigator.serviceWorker';
    }, WAIT);
  }

  controlledByServiceWorker() {
    return this.page.evaluate(() => navigator.serviceWorker?.controller != null);
  }

  // What the page says while another tab has the party; null once it
  // neither shows the notice nor waits.
  elsewhereNotice() {
    return this.page.evaluate(() => {
      const notice = document.getElementById('ts-elsewhere');
      if (notice?.checkVisibility()) {
        return notice.textContent.trim();
      }
      return document.body.dataset.waiting === '1' ? '(waiting, with no notice shown)' : null;
    });
  }

  // Waits until the page shows that another tab has the party, and waits.
  async waitElsewhereNotice() {
    const shown = () => document.body.dataset.waiting === '1' && document.getElementById('ts-elsewhere')?.checkVisibility();
    await until(this.page, shown, [], () => 'the tab never says that another tab has the party');
    return this.elsewhereNotice();
  }

  // --- A party shared by link: the QR dialog, and the read-only view a
  // link opens.

  // Opens the QR dialog from the main window's title bar; what it shows.
  async openLinkDialog() {
    await this.press('QRコード');
    return this.linkDialog();
  }

  // What the QR dialog shows once its code is drawn (or given up): the
  // link (its address, and whether it reads as itself), the note above
  // it, and the code: its size in modules with the quiet zone (from the
  // picture's viewBox) and its width in CSS pixels; null without one.
  async linkDialog() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await until(this.page, (d) => d.querySelector('[aria-busy="true"]') === null, [dialog], () =>
      'the QR code is never drawn');
    return dialog.evaluate((d) => {
      const link = d.querySelector('a[href]');
      const picture = d.querySelector('svg[role="img"]');
      return {
        link: link?.getAttribute('href') ?? null,
        linkReadsAsItself: link?.textContent === link?.getAttribute('href'),
        note: document.getElementById(d.getAttribute('aria-describedby'))?.textContent ?? null,
        code: picture && {
          modules: picture.viewBox.baseVal.width,
          width: picture.getBoundingClientRect().width,
        },
      };
    });
  }

  // The QR code as the screen shows it, as PNG bytes.
  async qrCodePicture() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    return (await find(dialog, 'svg[role="img"]', 'the QR code')).screenshot({ type: 'png' });
  }

  // Presses リンクをコピー; what the dialog then says.
  async copyLink() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await (await find(dialog, aria('リンクをコピー', 'button'))).click();
    const status = await find(dialog, '[role="status"]', 'the copy status');
    await until(this.page, (s) => s.textContent !== '', [status], () => 'the copy says nothing');
    return status.evaluate((s) => s.textContent);
  }

  async closeLinkDialog() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await (await find(dialog, aria('閉じる', 'button'))).click();
    await gone(this.page, WINDOWS.link, 'the link dialog');
  }

  // The names of the buttons the main window shows, in page order.
  commands() {
    return this.page.$eval(MAIN_SHOWN, (main) =>
      [...main.querySelectorAll('button')]
        .filter((b) => b.checkVisibility())
        .map((b) => b.getAttribute('aria-label') || b.textContent.trim()),
    );
  }

  // Waits until the main window shows a party of this device's own: no
  // read-only notice, and its commands (after この内容で編集する).
  async ownPartyShown() {
    const own = (notice) => {
      const main = document.querySelector('main');
      const add = main && [...main.querySelectorAll('button')].find((b) => b.textContent.trim() === '追加');
      const noticeShown = [...document.querySelectorAll(notice)].some((e) => e.checkVisibility() && e.textContent.trim());
      return document.body.dataset.waiting !== '1' && !noticeShown && add?.checkVisibility();
    };
    await until(this.page, own, [NOTICE], () => 'the party is never shown as this device\'s own');
  }

  // Follows a link in this tab, as a link tapped in it does: the address
  // changes, the page is not loaded again by the browser itself.
  async follow(address) {
    await this.page.evaluate((to) => {
      location.href = to;
    }, address);
  }

  // The page's address, fragment included.
  address() {
    return this.page.url();
  }

  // The names of the IndexedDB databases the site has made on this device.
  databases() {
    return this.page.evaluate(async () => (await indexedDB.databases()).map((d) => d.name));
  }

  // --- Layout and accessibility of one window ('main', 'group', 'total',
  // 'menu', 'box' or 'link'), which must be open.

  // What is wrong with the window on the page's screen, and what is only
  // worth a note.
  async layout(which) {
    const root = await find(this.page, WINDOWS[which], `the window ${which}`);
    return root.evaluate(measureWindow, NUMBER_FIELDS[which] ?? [], this.page.viewport().width);
  }

  // What axe-core finds to fix, as "rule (help) at targets".
  async axe(which) {
    if (!(await this.page.evaluate(() => 'axe' in window))) {
      const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
      await this.page.addScriptTag({ content: await readFile(axe, 'utf8') });
    }
    const root = await find(this.page, WINDOWS[which], `the window ${which}`);
    return root.evaluate(async (element) => {
      const { violations } = await window.axe.run(element.tagName === 'MAIN' ? document : element, {
        resultTypes: ['violations'],
      });
      return violations.map((v) => `${v.id} (${v.help}) at ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
    });
  }
}

// --- The group list on a phone: a card per group.

// The list's cells by what they show.
const CELL = { name: '.ts-col-name', balance: '.ts-col-balance', ratio: '.ts-col-ratio', advance: '.ts-col-advance', share: '.ts-col-share' };
const EMPTY_LIST = '.ts-list-empty';
const DESCRIBED = '[aria-describedby]';
const NOTICE = 'main [role="status"]';

Object.assign(App.prototype, {
  // 'cards' when the list shows its groups as cards (no column heads to
  // be seen), 'table' when it shows rows under column heads.
  async listLayout() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table) => (table.querySelector('thead').getBoundingClientRect().height > 1 ? 'table' : 'cards'));
  },

  // What a person sees of each group as it is scrolled into view: whether
  // its balance lies inside the screen, which of its texts are cut, over
  // how many lines its name runs, the balance's type size against the
  // largest of the other texts, the balance's colour and the word shown
  // beside the figures (null when none).
  async groupsAsSeen() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table, rows, cell) => {
      const size = (e) => parseFloat(getComputedStyle(e).fontSize);
      return [...table.querySelectorAll(rows)].map((row) => {
        const balance = row.querySelector(cell.balance);
        const name = row.querySelector(cell.name);
        balance.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        const box = balance.getBoundingClientRect();
        const after = getComputedStyle(balance, '::after').content;
        const others = [...row.cells].filter((c) => c !== balance);
        return {
          balanceInView: box.left >= -0.5 && box.right <= innerWidth + 0.5 && box.top >= -0.5 && box.bottom <= innerHeight + 0.5,
          cut: [...row.cells].filter((c) => c.scrollWidth > c.clientWidth + 1 || c.getBoundingClientRect().right > row.getBoundingClientRect().right + 0.5).map((c) => c.textContent),
          nameLines: Math.round(name.getBoundingClientRect().height / parseFloat(getComputedStyle(name).lineHeight)),
          balanceLarger: others.every((c) => size(balance) > size(c)),
          colour: getComputedStyle(balance).color,
          note: after === 'none' || after === 'normal' ? null : after.replace(/^"|"$/g, ''),
        };
      });
    }, ROWS, CELL);
  },

  // Whether anything inside the list scrolls sideways.
  async listScrollsSideways() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table) => table.parentElement.scrollWidth > table.parentElement.clientWidth + 1);
  },

  // What the list says while it has no groups, or null.
  async emptyListText() {
    return this.page.$$eval(EMPTY_LIST, (all) => all.find((e) => e.checkVisibility())?.textContent.trim() ?? null);
  },

  // The words shown with the totals' value `name` (余り), or null.
  async wordsWith(name) {
    const main = await find(this.page, MAIN_SHOWN, 'the main window');
    return main.$$eval(`output${DESCRIBED}`, (all, label) => {
      const output = all.find((o) => o.getAttribute('aria-label')?.split(' ')[0] === label);
      const words = output && document.getElementById(output.getAttribute('aria-describedby'));
      return words?.checkVisibility() ? words.textContent.trim() : null;
    }, name);
  },

  // The buttons of the main window whose text runs over more than one line.
  async brokenButtonTexts() {
    const main = await find(this.page, MAIN_SHOWN, 'the main window');
    return main.$$eval('button', (all) =>
      all.filter((b) => b.checkVisibility()).filter((b) => {
        const range = document.createRange();
        range.selectNodeContents(b);
        const lines = new Set([...range.getClientRects()].filter((r) => r.width > 0).map((r) => Math.round(r.top)));
        return lines.size > 1;
      }).map((b) => b.textContent.trim()),
    );
  },

  // The line the main window keeps under its title bar, or null.
  async notice() {
    return this.page.$$eval(NOTICE, (all) => all.find((e) => e.checkVisibility())?.textContent.trim() || null);
  },
});

// --- The site's storage under the page, as the browser lets it change.

Object.assign(App.prototype, {
  async storageSession() {
    this.cdp ??= await this.page.createCDPSession();
    return this.cdp;
  },

  origin(url = this.page.url()) {
    return new URL(url).origin;
  },

  // Holds the site's storage to `bytes`; databases opened from then on
  // cannot grow past it.
  async limitStorage(bytes, url) {
    await (await this.storageSession()).send('Storage.overrideQuotaForOrigin', { origin: this.origin(url), quotaSize: bytes });
  },

  async unlimitStorage() {
    await (await this.storageSession()).send('Storage.overrideQuotaForOrigin', { origin: this.origin() });
  },

  // What clearing the site's data in the browser's settings does, with the
  // page open.
  async clearSiteData() {
    await (await this.storageSession()).send('Storage.clearDataForOrigin', { origin: this.origin(), storageTypes: 'all' });
  },

  // The names of the site's IndexedDB databases.
  databases() {
    return this.page.evaluate(async () => (await indexedDB.databases()).map((d) => d.name).sort());
  },
});

// Puts a profile of the previous version of the site into the browser
// before the site opens: emscripten's IDBFS database as recorded in
// `profile` (its version, object stores with their indexes, and records
// whose contents are bytes and timestamps dates). The page it uses runs no
// program (the manifest of the site is opened).
export async function writeLegacyStore(context, url, profile) {
  const page = await context.newPage();
  try {
    await page.goto(new URL('manifest.webmanifest', url).href);
    await page.evaluate(
      (recorded, name) =>
        new Promise((resolve, reject) => {
          const open = indexedDB.open(name, recorded.version);
          open.onupgradeneeded = () => {
            for (const store of recorded.stores) {
              const made = open.result.createObjectStore(store.name, { keyPath: store.keyPath, autoIncrement: store.autoIncrement });
              for (const index of store.indexes) {
                made.createIndex(index.name, index.keyPath, { unique: index.unique });
              }
            }
          };
          open.onerror = () => reject(open.error);
          open.onsuccess = () => {
            const db = open.result;
            const store = recorded.stores[0].name;
            const tx = db.transaction(store, 'readwrite');
            for (const r of recorded.records) {
              tx.objectStore(store).put({ timestamp: new Date(r.timestamp), mode: r.mode, contents: new Uint8Array(r.contents) }, r.key);
            }
            tx.oncomplete = () => {
              db.close();
              resolve();
            };
            tx.onabort = () => reject(tx.error);
          };
        }),
      profile,
      '/data',
    );
  } finally {
    await page.close();
  }
}

// Runs in the page on a window's element. On a phone a page wider than the
// screen is shown zoomed out, which makes innerWidth wider too: the
// screen's width is the measure.
function measureWindow(root, numberFields, screenWidth) {
  const problems = [];
  const notes = [];
  const width = Math.min(window.innerWidth, screenWidth);
  const height = window.innerHeight;
  const round = (n) => Math.round(n * 10) / 10;
  const name = (e) => `${e.tagName.toLowerCase()} "${(e.getAttribute('aria-label') || e.textContent || e.value || '').trim().slice(0, 16)}"`;
  if (window.innerWidth !== screenWidth) {
    problems.push(`innerWidth is ${window.innerWidth} on a screen ${screenWidth} wide`);
  }
  if (document.documentElement.scrollWidth > width) {
    problems.push(`the page scrolls sideways (scrollWidth ${document.documentElement.scrollWidth} > ${width})`);
  }
  const dialog = root.closest('dialog');
  const scrolls = dialog !== null && dialog.scrollHeight > dialog.clientHeight + 1 &&
    ['auto', 'scroll'].includes(getComputedStyle(dialog).overflowY);
  if (scrolls) {
    notes.push(`the window scrolls vertically (${dialog.scrollHeight} in ${dialog.clientHeight})`);
  }
  for (const element of root.querySelectorAll('[data-control-id], button, [role="menuitem"]')) {
    if (!element.checkVisibility({ visibilityProperty: true, opacityProperty: true })) {
      if (dialog !== null && element.dataset.controlId !== '-1') {
        problems.push(`${name(element)} is not shown`);
      }
      continue;
    }
    let box = element.getBoundingClientRect();
    const outside = () => box.top + box.height / 2 < 0 || box.top + box.height / 2 > height;
    if ((scrolls || dialog === null) && outside()) {
      element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      box = element.getBoundingClientRect();
    }
    if (box.left < -0.5 || box.right > width + 0.5) {
      problems.push(`${name(element)} lies outside [0, ${width}] (${round(box.left)}..${round(box.right)})`);
    }
    if (dialog !== null && (box.top < -0.5 || box.bottom > height + 0.5)) {
      problems.push(`${name(element)} lies outside the screen's height (${round(box.top)}..${round(box.bottom)})`);
    }
    if (!element.matches('button, input, select, textarea, [role="menuitem"]')) {
      continue;
    }
    if (!outside() && box.width > 0 && box.height > 0) {
      const hit = document.elementFromPoint(
        Math.min(Math.max(box.left + box.width / 2, 0), width - 1),
        Math.min(Math.max(box.top + box.height / 2, 0), height - 1),
      );
      if (hit === null || !(element.contains(hit) || [...(element.labels ?? [])].includes(hit))) {
        problems.push(`${name(element)} is covered by ${hit ? name(hit) : 'nothing'}`);
      }
    }
    if (box.width < 44 || box.height < 44) {
      problems.push(`${name(element)} is ${round(box.width)}×${round(box.height)}, less than 44×44`);
    }
    if (element.matches('input, select, textarea') && parseFloat(getComputedStyle(element).fontSize) < 16) {
      problems.push(`${name(element)} has font-size ${getComputedStyle(element).fontSize} (< 16px)`);
    }
  }
  const low = [...root.querySelectorAll('tbody tr')].find((row) => row.getBoundingClientRect().height < 44);
  if (low !== undefined) {
    problems.push(`a list row is ${round(low.getBoundingClientRect().height)} px high (< 44)`);
  }
  for (const label of numberFields) {
    const mode = root.querySelector(`[aria-label="${label}"]`)?.getAttribute('inputmode') ?? null;
    if (mode !== 'numeric') {
      problems.push(`${label} has inputmode ${JSON.stringify(mode)}`);
    }
  }
  return { problems, notes };
}
