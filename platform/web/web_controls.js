// The browser half of the web window system: the controls of a window, as
// real HTML controls in template order. Their texts, spoken names and
// limits are the program's (web_controls.cpp): a field's change is only
// reported, and the program mends the text. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

  function makeUpDown(win, index, id, name) {
    var group = web.el('div', 'ts-updown');
    group.setAttribute('role', 'group');
    group.setAttribute('aria-label', name);
    var up = web.el('button', 'ts-step', '▲');
    up.type = 'button';
    up.dataset.step = 'up';
    up.setAttribute('aria-label', TSText.ARROW_UP);
    var down = web.el('button', 'ts-step', '▼');
    down.type = 'button';
    down.dataset.step = 'down';
    down.setAttribute('aria-label', TSText.ARROW_DOWN);
    up.addEventListener('click', function () { web.post(win, C.EVENT_STEP_UP, id); });
    down.addEventListener('click', function () { web.post(win, C.EVENT_STEP_DOWN, id); });
    group.appendChild(up);
    group.appendChild(down);
    group.addEventListener('keydown', function (e) {
      if (!win.arrowKeys[index]) {
        return;
      }
      if (e.key === 'ArrowUp') {
        e.preventDefault();
        web.post(win, C.EVENT_STEP_UP, id);
      } else if (e.key === 'ArrowDown') {
        e.preventDefault();
        web.post(win, C.EVENT_STEP_DOWN, id);
      }
    });
    return {element: group, buttons: [up, down]};
  }

  // A list to choose from (a combo box without a field): the user's choice
  // of another entry is its command.
  function makeSelect(win, id, name) {
    var element = web.el('select', 'ts-field ts-select');
    if (name) {
      element.setAttribute('aria-label', name);
    }
    element.addEventListener('change', function () { web.post(win, C.EVENT_COMMAND, id); });
    return element;
  }

  function makeField(win, id, kind, style, value, name, control) {
    var element = web.el('input', 'ts-field');
    element.type = 'text';
    element.value = value;
    element.autocomplete = 'off';
    element.setAttribute('autocapitalize', 'off');
    element.spellcheck = false;
    if (name) {
      element.setAttribute('aria-label', name);
    }
    if (style & C.STYLE_NUMERIC) {
      element.inputMode = 'numeric';
    }
    if (style & C.STYLE_RIGHT) {
      element.classList.add('ts-right');
    }
    element.addEventListener('input', function () {
      web.post(win, C.EVENT_FIELD_CHANGED, id);
    });
    if (kind === C.KIND_COMBO) {
      web.makeChoices(win, id, element, name, control);
    }
    return element;
  }

  // The menu of control `id` (named `name`): the list's in the title bar
  // of the main window ("メニュー", spoken with the list's name), or one in
  // `holder` beside its control, saying whose it is ("会のメニュー").
  function addMenuButton(win, id, name, holder) {
    var menu = (!holder && web.claim(win, win.tools, '.ts-menu-button', 'BUTTON')) ||
               web.el('button');
    var whose = (name ? name + TSText.MENU_OF : '') + TSText.MENU;
    menu.className = 'ts-button ts-menu-button';
    menu.textContent = holder ? whose : TSText.MENU;
    menu.type = 'button';
    menu.dataset.menuFor = String(id);
    menu.setAttribute('aria-haspopup', 'menu');
    if (!holder) {
      menu.setAttribute('aria-label', whose);
    }
    menu.addEventListener('click', function () { web.post(win, C.EVENT_CONTEXT_MENU, id); });
    (holder || win.tools).appendChild(menu);
  }

  // Where control `kind` stands: an icon, the window's own, at the start
  // of its title bar as a window's icon does; every other in the body.
  function holderOf(win, kind) {
    return kind === C.KIND_ICON ? win.titlebar : win.body;
  }

  // The element that shows control `index` (`id`, of `kind`) as a
  // `tagName` of `className`: the one of the window's first picture, else
  // a new one.
  function controlElement(win, index, id, kind, tagName, className) {
    var selector = id === C.ID_NONE ? '[data-index="' + index + '"]'
                                    : '[data-control-id="' + id + '"]';
    var element = web.claim(win, holderOf(win, kind), selector, tagName) ||
                  document.createElement(tagName);
    element.className = className;
    return element;
  }

  // Control `index` of window `handle`; `name` is what a screen reader
  // speaks for it, empty when its own text names it.
  web.addControl = function (handle, index, id, kind, style, value, name, place) {
    var win = web.windows[handle];
    // Its place in the window's layout: the template's name for it, else
    // its id (a control with neither is placed by nothing).
    place = place || (id === C.ID_NONE ? '' : 'c' + id);
    var control = {id: id, kind: kind, place: place, element: null, focusable: null};
    var element;
    switch (kind) {
      case C.KIND_BUTTON:
        element = controlElement(win, index, id, kind, 'BUTTON', 'ts-button');
        web.setText(element, value);
        element.type = 'button';
        if (name) {
          element.setAttribute('aria-label', name);
        }
        if (style & C.STYLE_DEFAULT) {
          element.classList.add('ts-default');
        }
        element.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, id); });
        break;
      case C.KIND_COMBO:
        element = (style & C.STYLE_LIST_ONLY) ? makeSelect(win, id, name)
                                               : makeField(win, id, kind, style, value, name, control);
        break;
      case C.KIND_EDIT:
        element = makeField(win, id, kind, style, value, name, control);
        break;
      case C.KIND_STATIC:
        // A static text with a name is a value beside its label.
        element = controlElement(win, index, id, kind, name ? 'OUTPUT' : 'SPAN', 'ts-static');
        web.setText(element, value);
        if (style & C.STYLE_CENTRE) {
          element.classList.add('ts-centre');
        } else if (style & C.STYLE_RIGHT) {
          element.classList.add('ts-right');
        }
        if (name) {
          element.setAttribute('aria-label', name);
        }
        break;
      case C.KIND_GROUP_BOX:
        element = controlElement(win, index, id, kind, 'DIV', 'ts-frame');
        element.setAttribute('aria-hidden', 'true');
        break;
      case C.KIND_LIST:
        control.list = web.makeList(win, id, name,
                                    controlElement(win, index, id, kind, 'DIV', 'ts-listbox'));
        element = control.list.box;
        control.focusable = control.list.table;
        break;
      case C.KIND_ICON:
        element = controlElement(win, index, id, kind, 'BUTTON', 'ts-icon');
        element.type = 'button';
        element.setAttribute('aria-label', name);
        // The picture's image, when it is this one, is not decoded again.
        var picture = element.querySelector('img');
        if (!picture || picture.getAttribute('src') !== value) {
          picture = web.el('img');
          picture.src = value;
        }
        picture.alt = '';
        if (element.firstChild !== picture || element.childNodes.length !== 1) {
          element.replaceChildren(picture);
        }
        if (style & C.STYLE_REPORTS_CLICKS) {
          element.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, id); });
        }
        break;
      case C.KIND_UPDOWN:
        var arrows = makeUpDown(win, index, id, name);
        win.arrowKeys[index] = true;
        element = arrows.element;
        control.buttons = arrows.buttons;
        break;
      default:
        element = web.el('span');
    }
    element.dataset.controlId = String(id);
    if (id === C.ID_NONE) {
      element.dataset.index = String(index);
    }
    // The main window's list to choose from (the round selector) stands in
    // a box with a button for its menu (the round commands), beside it
    // where a thumb finds both, and shows or hides with it.
    if (win.isMain && kind === C.KIND_COMBO && (style & C.STYLE_LIST_ONLY) !== 0) {
      control.box = web.el('div', 'ts-choice-box');
      addMenuButton(win, id, name, control.box);
    }
    // What takes the control's place: the control, or the box around it
    // (a combo box's field, button and list; the selector and its menu).
    var placed = control.box || element;
    if (kind !== C.KIND_GROUP_BOX && place) {
      placed.style.gridArea = place;  // the window's style sheet places it
    }
    if (!(style & C.STYLE_TAB_STOP)) {
      // Not in the Tab order, as on the desktop; still reachable by touch.
      var target = control.focusable || element;
      if (kind === C.KIND_UPDOWN) {
        control.buttons.forEach(function (b) { b.tabIndex = -1; });
        win.arrowKeys[index] = false;
      } else if (kind === C.KIND_BUTTON || kind === C.KIND_EDIT || kind === C.KIND_COMBO ||
                 kind === C.KIND_LIST || kind === C.KIND_ICON) {
        target.tabIndex = -1;
      }
    }
    if (id === C.ID_GROUP_LIST && win.isMain && kind === C.KIND_LIST) {
      addMenuButton(win, id, name);
    }
    control.element = element;
    win.controls[index] = control;
    if (control.box) {
      control.box.insertBefore(element, control.box.firstChild);
    }
    var holder = holderOf(win, kind);
    if (placed.parentNode !== holder) {  // a picture's control stands in its place already
      if (holder === win.body) {
        holder.appendChild(placed);
      } else {
        holder.insertBefore(placed, holder.firstChild);
      }
    }
  };

  function controlAt(handle, index) {
    return web.windows[handle].controls[index];
  }

  web.controlText = function (handle, index) {
    var element = controlAt(handle, index).element;
    if (element.tagName === 'SELECT') {
      return element.selectedIndex < 0 ? '' : element.options[element.selectedIndex].text;
    }
    return element.tagName === 'INPUT' ? element.value : element.textContent;
  };

  web.setControlText = function (handle, index, value) {
    var control = controlAt(handle, index);
    var element = control.element;
    if (element.tagName === 'INPUT') {
      element.value = value;
    } else if (control.kind === C.KIND_STATIC || control.kind === C.KIND_BUTTON) {
      web.setText(element, value);
    }
  };

  web.setSpokenName = function (handle, index, name) {
    var control = controlAt(handle, index);
    (control.list ? control.list.table : control.element).setAttribute('aria-label', name);
  };

  web.limitField = function (handle, index, units) {
    var element = controlAt(handle, index).element;
    if (element.tagName === 'INPUT') {
      element.maxLength = units;
    }
  };

  web.fieldCaret = function (handle, index) {
    var element = controlAt(handle, index).element;
    return element.selectionEnd === null ? element.value.length : element.selectionEnd;
  };

  // The program's mended text, with the caret where the user had it.
  web.setFieldText = function (handle, index, value, caret) {
    var element = controlAt(handle, index).element;
    if (element.tagName !== 'INPUT') {
      return;
    }
    element.value = value;
    if (document.activeElement === element) {
      element.setSelectionRange(caret, caret);
    }
  };

  // A list to choose from: its entries, and the one it shows (-1: none).
  function insertOption(select, position, value) {
    var shown = select.selectedIndex;
    var before = position >= 0 && position < select.options.length ? position : null;
    select.add(new Option(value), before);
    // A new entry changes neither which one is shown nor whether one is.
    select.selectedIndex = shown < 0 ? -1 : (before !== null && shown >= before ? shown + 1 : shown);
  }

  web.clearChoices = function (handle, index) {
    var control = controlAt(handle, index);
    if (control.element.tagName === 'SELECT') {
      control.element.length = 0;
    } else if (control.choices) {
      control.choices.textContent = '';
    }
  };

  web.choiceAt = function (handle, index) {
    var element = controlAt(handle, index).element;
    return element.tagName === 'SELECT' ? element.selectedIndex : -1;
  };

  web.selectChoice = function (handle, index, position) {
    var element = controlAt(handle, index).element;
    if (element.tagName === 'SELECT') {
      element.selectedIndex = position;
    }
  };

  web.choiceCount = function (handle, index) {
    var control = controlAt(handle, index);
    if (control.element.tagName === 'SELECT') {
      return control.element.options.length;
    }
    return control.choices ? control.choices.children.length : 0;
  };

  web.insertChoice = function (handle, index, position, value) {
    var control = controlAt(handle, index);
    if (control.element.tagName === 'SELECT') {
      insertOption(control.element, position, value);
      return;
    }
    var choices = control.choices;
    if (!choices) {
      return;
    }
    var option = web.el('li', 'ts-choice', value);
    option.id = web.nextId('choice');
    option.setAttribute('role', 'option');
    option.setAttribute('aria-selected', 'false');
    var before = position >= 0 && position < choices.children.length
                     ? choices.children[position] : null;
    choices.insertBefore(option, before);
  };
})(TSWeb);
