// The main window: its commands, the totals under the list, the notice
// under its caption, the keyboard, the list's menu and the windows over it.
import { MAIN_SHOWN, NOTICE, WINDOWS, aria, find, gone, trimAscii } from './page.mjs';
import { dialogShown } from './dialogs.mjs';

const MENU_BUTTON = aria('グループ一覧のメニュー', 'button');
// The round selector and its menu, shown from two rounds on.
const ROUNDS = aria('会', 'combobox');
const ROUNDS_SHOWN = 'main select[aria-label="会"]';
const ROUND_MENU_BUTTON = aria('会のメニュー', 'button');
const OPEN_WINDOW = 'dialog[open]';
const DESCRIBED = '[aria-describedby]';

export const mainWindow = {
  async press(name) {
    await (await find(await find(this.page, WINDOWS.main, 'the main window'), aria(name, 'button'))).click();
  },

  async add() {
    await this.press('追加');
    return dialogShown(this, 'group');
  },

  async change() {
    await this.press('変更');
    return dialogShown(this, 'group');
  },

  async input() {
    await this.press('入力');
    return dialogShown(this, 'total');
  },

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
  },

  async enterTotal({ total, unit }) {
    const dialog = await this.input();
    await dialog.fill({ total, unit });
    await dialog.ok();
    await this.settled();
  },

  // 通常計算 or 区切計算.
  async calculate(how) {
    await this.press(how);
    await this.settled();
  },

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
  },

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

  // The names of the buttons the main window shows, in page order.
  commands() {
    return this.page.$eval(MAIN_SHOWN, (main) =>
      [...main.querySelectorAll('button')]
        .filter((b) => b.checkVisibility())
        .map((b) => b.getAttribute('aria-label') || b.textContent.trim()),
    );
  },

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
  },

  // The list's menu and the windows over the main window.

  async openMenu() {
    await (await find(this.page, MENU_BUTTON, 'the menu button')).click();
    await this.menuShown();
  },

  menuShown() {
    return find(this.page, WINDOWS.menu, 'the list menu');
  },

  menuClosed() {
    return gone(this.page, WINDOWS.menu, 'the list menu');
  },

  // Picks an entry of the list's menu by its name.
  async menu(entry) {
    await this.openMenu();
    await (await find(await this.menuShown(), aria(entry, 'menuitem'), `the menu entry ${entry}`)).click();
  },

  // The names of the entries of the menu that is open.
  async menuEntries() {
    const menu = await this.menuShown();
    return menu.$$eval('[role="menuitem"]', (items) => items.map((item) => item.textContent.trim()));
  },

  // The rounds.

  // The rounds the selector offers and the one it shows; null while it is
  // not shown (one round).
  rounds() {
    return this.page.$$eval(ROUNDS_SHOWN, ([select]) =>
      select?.checkVisibility()
        ? { names: [...select.options].map((o) => o.textContent), shown: select.selectedOptions[0]?.textContent ?? null }
        : null,
    );
  },

  // Shows round `name`, as the selector chooses it.
  async chooseRound(name) {
    await (await find(this.page, ROUNDS, 'the round selector')).select(name);
    await this.settled();
  },

  // Opens the menu beside the round selector; with `entry`, picks it.
  async roundMenu(entry) {
    await (await find(this.page, ROUND_MENU_BUTTON, 'the round menu button')).click();
    const menu = await this.menuShown();
    if (entry !== undefined) {
      await (await find(menu, aria(entry, 'menuitem'), `the menu entry ${entry}`)).click();
    }
  },

  // The entries of the menu beside the round selector (closed again).
  async roundMenuEntries() {
    await this.roundMenu();
    const entries = await this.menuEntries();
    await this.key('Escape');
    await this.menuClosed();
    return entries;
  },

  async focusInMenu() {
    return (await this.menuShown()).evaluate((menu) => menu.contains(document.activeElement));
  },

  // The captions of the windows open over the main window, topmost last.
  openWindows() {
    return this.page.$$eval(OPEN_WINDOW, (all) =>
      all.map((w) => document.getElementById(w.getAttribute('aria-labelledby'))?.textContent ?? w.getAttribute('aria-label')),
    );
  },

  // What the page hands out.

  clipboard() {
    return this.page.evaluate(() => navigator.clipboard.readText());
  },

  clearClipboard() {
    return this.page.evaluate(() => navigator.clipboard.writeText(''));
  },

  canShare() {
    return this.page.evaluate(() => typeof navigator.share === 'function');
  },
};
