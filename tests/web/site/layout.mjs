// Layout and accessibility of one window ('main', 'group', 'total', 'menu',
// 'box', 'link' or 'settlement'), which must be open.
import { readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { WINDOWS, aria, find } from './page.mjs';

// The fields a phone should open its number keyboard for.
const NUMBER_FIELDS = { group: ['人数', '割合', '負担額', '加える額'], total: ['総額', '区切額'] };

export const layout = {
  // What is wrong with the window on the page's screen, and what is only
  // worth a note.
  async layout(which) {
    const root = await find(this.page, WINDOWS[which], `the window ${which}`);
    return root.evaluate(measureWindow, NUMBER_FIELDS[which] ?? [], this.page.viewport().width);
  },

  // What of the main window is seen without scrolling: for each command
  // named, whether it lies whole on the screen and nothing covers it (a
  // name in `choices` is a list to choose from, such as the round
  // selector 会); the same of the totals' values; whether the page scrolls
  // down or sideways.
  async withoutScrolling(commands, { choices = [] } = {}) {
    const main = await find(this.page, WINDOWS.main, 'the main window');
    const seen = { commands: {} };
    for (const name of commands) {
      const role = choices.includes(name) ? 'combobox' : 'button';
      seen.commands[name] = await (await find(main, aria(name, role), `the command ${name}`)).evaluate(wholeOnScreen);
    }
    const totals = await main.$$('output');
    seen.totals = totals.length > 0 && (await Promise.all(totals.map((t) => t.evaluate(wholeOnScreen)))).every(Boolean);
    Object.assign(seen, await this.page.evaluate(() => ({
      scrollsDown: document.scrollingElement.scrollHeight > innerHeight + 0.5,
      scrollsSideways: document.scrollingElement.scrollWidth > innerWidth + 0.5,
    })));
    return seen;
  },

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
  },
};

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
      // What the program hides (a read-only view's commands) and a row's
      // own command where rows stand in a table are meant to be unseen.
      if (dialog !== null && element.dataset.controlId !== '-1' && element.closest('[hidden], tbody') === null) {
        problems.push(`${name(element)} is not shown`);
      }
      continue;
    }
    let box = element.getBoundingClientRect();
    const outside = () => box.top + box.height / 2 < 0 || box.top + box.height / 2 > height;
    // A list's rows scroll in its own box: each is seen scrolled into view.
    const inList = element.closest('.ts-listbox tbody') !== null;
    if (((scrolls || dialog === null) && outside()) || inList) {
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

// Runs in the page: whether `element` lies whole on the screen and is the
// one a finger on its middle touches.
function wholeOnScreen(element) {
  const box = element.getBoundingClientRect();
  if (box.width <= 0 || box.left < -0.5 || box.top < -0.5 || box.right > innerWidth + 0.5 || box.bottom > innerHeight + 0.5) {
    return false;
  }
  const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
  return hit !== null && element.contains(hit);
}
