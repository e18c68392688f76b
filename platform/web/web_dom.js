// The browser half of the web window system: real HTML controls for the
// dialog templates, and the queue of events each open window hands to its
// message loop in the program. The program calls in here; the page never
// calls the program, it only resolves the promise a loop is waiting on.
//
// Included before the program's own JavaScript (--pre-js), so `Module` and
// the heap views are those of the program.

var TSWeb = (function () {
  'use strict';

  // What a loop is told; the same numbers as WebEvent in web_window_system.h.
  var EVENT_COMMAND = 1;
  var EVENT_STEP_UP = 2;
  var EVENT_STEP_DOWN = 3;
  var EVENT_CONTEXT_MENU = 4;
  var EVENT_COPY = 5;
  var EVENT_HELP = 6;

  // Control kinds and style bits, as resources/dialog_template.h numbers them.
  var KIND_BUTTON = 0, KIND_EDIT = 1, KIND_STATIC = 2, KIND_GROUP_BOX = 3, KIND_LIST = 4,
      KIND_ICON = 5, KIND_UPDOWN = 6, KIND_COMBO = 7;
  var STYLE_TAB_STOP = 1, STYLE_DEFAULT = 2, STYLE_RIGHT = 8, STYLE_CENTRE = 16,
      STYLE_REPORTS_CLICKS = 256, STYLE_NUMERIC = 1024;

  var LONG_PRESS_MS = 550;

  var windows = [];   // by handle: {element, controls, queue, waiter, templateId, ...}
  var menuTexts = [];
  var uniqueId = 0;

  function text(pointer, length) {
    var units = HEAPU16.subarray(pointer >> 1, (pointer >> 1) + length);
    var out = '';
    for (var i = 0; i < units.length; i += 4096) {
      out += String.fromCharCode.apply(null, units.subarray(i, i + 4096));
    }
    return out;
  }

  // Copies at most `capacity` units of `value` to the program; the count.
  function copyOut(value, pointer, capacity) {
    var count = Math.min(value.length, capacity);
    for (var i = 0; i < count; ++i) {
      HEAPU16[(pointer >> 1) + i] = value.charCodeAt(i);
    }
    return count;
  }

  function nextId(prefix) {
    uniqueId += 1;
    return 'ts-' + prefix + '-' + uniqueId;
  }

  function post(win, kind, id) {
    if (win.closed) {
      return;
    }
    var event = kind * 65536 + (id & 0xffff);
    if (win.waiter) {
      var resolve = win.waiter;
      win.waiter = null;
      resolve(event);
    } else {
      win.queue.push(event);
    }
  }

  function el(tag, className, textContent) {
    var node = document.createElement(tag);
    if (className) {
      node.className = className;
    }
    if (textContent !== undefined) {
      node.textContent = textContent;
    }
    return node;
  }

  // Keeps a field's text made of whole characters: a length limit cuts by
  // UTF-16 units and may leave half a surrogate pair.
  function dropLoneSurrogates(input) {
    var value = input.value;
    var mended = value.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(^|[^\uD800-\uDBFF])[\uDC00-\uDFFF]/g,
                               function (match, before) { return before || ''; });
    if (mended !== value) {
      input.value = mended;
    }
  }

  function attachLongPress(node, onPress) {
    var timer = 0;
    var start = null;
    function cancel() {
      if (timer) {
        clearTimeout(timer);
        timer = 0;
      }
    }
    node.addEventListener('pointerdown', function (e) {
      if (e.pointerType !== 'touch' && e.pointerType !== 'pen') {
        return;
      }
      start = {x: e.clientX, y: e.clientY};
      cancel();
      timer = setTimeout(function () {
        timer = 0;
        onPress(e);
      }, LONG_PRESS_MS);
    });
    node.addEventListener('pointermove', function (e) {
      if (timer && start && Math.hypot(e.clientX - start.x, e.clientY - start.y) > 10) {
        cancel();
      }
    });
    node.addEventListener('pointerup', cancel);
    node.addEventListener('pointercancel', cancel);
  }

  function listSelect(list, index, focus) {
    var rows = list.body.rows;
    for (var i = 0; i < rows.length; ++i) {
      rows[i].setAttribute('aria-selected', i === index ? 'true' : 'false');
    }
    if (index >= 0 && index < rows.length) {
      list.table.setAttribute('aria-activedescendant', rows[index].id);
      rows[index].scrollIntoView({block: 'nearest'});
      if (focus) {
        list.table.focus({preventScroll: true});
      }
    } else {
      list.table.removeAttribute('aria-activedescendant');
    }
  }

  function listSelected(list) {
    var rows = list.body.rows;
    for (var i = 0; i < rows.length; ++i) {
      if (rows[i].getAttribute('aria-selected') === 'true') {
        return i;
      }
    }
    return -1;
  }

  function makeList(win, id, name) {
    var box = el('div', 'ts-listbox');
    var table = el('table', 'ts-list');
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-readonly', 'true');
    table.setAttribute('aria-label', name);
    table.tabIndex = 0;
    var head = el('thead');
    var headRow = el('tr');
    head.appendChild(headRow);
    var body = el('tbody');
    table.appendChild(head);
    table.appendChild(body);
    box.appendChild(table);
    var list = {box: box, table: table, headRow: headRow, body: body, columns: []};

    function rowOf(target) {
      var row = target.closest ? target.closest('tr') : null;
      return row && row.parentNode === body ? row.sectionRowIndex : -1;
    }
    function askMenu() {
      post(win, EVENT_CONTEXT_MENU, id);
    }
    table.addEventListener('click', function (e) {
      var index = rowOf(e.target);
      if (index >= 0) {
        listSelect(list, index, true);
      }
    });
    table.addEventListener('contextmenu', function (e) {
      e.preventDefault();
      var index = rowOf(e.target);
      if (index >= 0) {
        listSelect(list, index, true);
      }
      askMenu();
    });
    attachLongPress(table, function (e) {
      var index = rowOf(e.target);
      if (index >= 0) {
        listSelect(list, index, true);
      }
      askMenu();
    });
    table.addEventListener('keydown', function (e) {
      var count = body.rows.length;
      var at = listSelected(list);
      var to = -2;
      if (e.key === 'ArrowDown') {
        to = Math.min(at + 1, count - 1);
      } else if (e.key === 'ArrowUp') {
        to = Math.max(at - 1, 0);
      } else if (e.key === 'Home') {
        to = 0;
      } else if (e.key === 'End') {
        to = count - 1;
      } else if ((e.key === 'F10' && e.shiftKey) || e.key === 'ContextMenu') {
        // The Menu key also fires a contextmenu event on the focused list;
        // that one is swallowed so the menu opens once.
        e.preventDefault();
        list.keyMenuAt = Date.now();
        askMenu();
        return;
      }
      if (to > -2 && count > 0) {
        e.preventDefault();
        listSelect(list, Math.max(to, 0), true);
      }
    });
    // Only the one contextmenu event that follows the key is swallowed; a
    // pointer press afterwards is a new request.
    table.addEventListener('contextmenu', function (e) {
      if (list.keyMenuAt && Date.now() - list.keyMenuAt < 500) {
        list.keyMenuAt = 0;
        e.stopImmediatePropagation();
        e.preventDefault();
      }
    }, true);
    table.addEventListener('pointerdown', function () { list.keyMenuAt = 0; }, true);
    return list;
  }

  function makeUpDown(win, index, id, name) {
    var group = el('div', 'ts-updown');
    group.setAttribute('role', 'group');
    group.setAttribute('aria-label', name);
    var up = el('button', 'ts-step', '▲');
    up.type = 'button';
    up.dataset.step = 'up';
    up.setAttribute('aria-label', '増やす');
    var down = el('button', 'ts-step', '▼');
    down.type = 'button';
    down.dataset.step = 'down';
    down.setAttribute('aria-label', '減らす');
    up.addEventListener('click', function () { post(win, EVENT_STEP_UP, id); });
    down.addEventListener('click', function () { post(win, EVENT_STEP_DOWN, id); });
    group.appendChild(up);
    group.appendChild(down);
    group.addEventListener('keydown', function (e) {
      if (!win.arrowKeys[index]) {
        return;
      }
      if (e.key === 'ArrowUp') {
        e.preventDefault();
        post(win, EVENT_STEP_UP, id);
      } else if (e.key === 'ArrowDown') {
        e.preventDefault();
        post(win, EVENT_STEP_DOWN, id);
      }
    });
    return {element: group, buttons: [up, down]};
  }

  function valueName(control) {
    return control.name + ' ' + control.element.textContent;
  }

  // A modal <dialog> keeps Escape for itself: the cancel it would do is
  // turned into the program's command, and a dialog the browser closes
  // anyway is shown again until the program ends it.
  function keepOpen(dialog, onEscape) {
    dialog.addEventListener('cancel', function (e) {
      e.preventDefault();
      onEscape();
    });
    dialog.addEventListener('close', function () {
      if (dialog.dataset.open === '1') {
        dialog.showModal();
      }
    });
  }

  function isTextField(target) {
    return target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA');
  }

  return {
    text: text,

    // A window for template `templateId`: the main window is the page's
    // <main>, every other one a modal <dialog>.
    openWindow: function (templateId, captionPointer, captionLength, isMain) {
      var caption = text(captionPointer, captionLength);
      var win = {
        templateId: templateId, controls: [], queue: [], waiter: null, closed: false,
        isMain: !!isMain, arrowKeys: []
      };
      var handle = windows.length;
      windows.push(win);
      var element = el(isMain ? 'main' : 'dialog', 'ts-window');
      element.dataset.templateId = String(templateId);
      var title = el(isMain ? 'h1' : 'h2', 'ts-caption', caption);
      title.id = nextId('caption');
      element.setAttribute('aria-labelledby', title.id);
      var header = el('header', 'ts-titlebar');
      header.appendChild(title);
      var tools = el('div', 'ts-tools');
      header.appendChild(tools);
      element.appendChild(header);
      var body = el('div', 'ts-body');
      element.appendChild(body);
      win.element = element;
      win.body = body;
      win.tools = tools;
      element.hidden = true;
      document.getElementById('ts-app').appendChild(element);

      element.addEventListener('keydown', function (e) {
        if (e.key === 'F1') {
          e.preventDefault();
          post(win, EVENT_HELP, 0);
          return;
        }
        if ((e.ctrlKey || e.metaKey) && !e.altKey && (e.key === 'c' || e.key === 'C')) {
          var selection = window.getSelection ? String(window.getSelection()) : '';
          if (!isTextField(e.target) && selection === '') {
            e.preventDefault();
            post(win, EVENT_COPY, 0);
          }
          return;
        }
        if (win.isMain) {
          return;  // the page has no close: Enter and Escape do nothing here
        }
        if (e.key === 'Escape') {
          e.preventDefault();
          post(win, EVENT_COMMAND, 2);
        } else if (e.key === 'Enter' && !e.isComposing && e.target.tagName !== 'BUTTON') {
          e.preventDefault();
          post(win, EVENT_COMMAND, 1);
        }
      });
      if (!isMain) {
        keepOpen(element, function () { post(win, EVENT_COMMAND, 2); });
      }
      return handle;
    },

    addControl: function (handle, index, id, kind, style, textPointer, textLength, namePointer,
                          nameLength) {
      var win = windows[handle];
      var value = text(textPointer, textLength);
      var name = text(namePointer, nameLength);
      var control = {id: id, kind: kind, name: name, element: null, focusable: null};
      var element;
      switch (kind) {
        case KIND_BUTTON:
          element = el('button', 'ts-button', value);
          element.type = 'button';
          if (name) {
            element.setAttribute('aria-label', name);
          }
          if (style & STYLE_DEFAULT) {
            element.classList.add('ts-default');
          }
          element.addEventListener('click', function () { post(win, EVENT_COMMAND, id); });
          break;
        case KIND_EDIT:
        case KIND_COMBO:
          element = el('input', 'ts-field');
          element.type = 'text';
          element.value = value;
          element.autocomplete = 'off';
          element.setAttribute('autocapitalize', 'off');
          element.spellcheck = false;
          if (name) {
            element.setAttribute('aria-label', name);
          }
          if (style & STYLE_NUMERIC) {
            element.inputMode = 'numeric';
          }
          if (style & STYLE_RIGHT) {
            element.classList.add('ts-right');
          }
          element.addEventListener('input', function () { dropLoneSurrogates(element); });
          if (kind === KIND_COMBO) {
            var choices = el('datalist');
            choices.id = nextId('choices');
            element.setAttribute('list', choices.id);
            control.choices = choices;
          }
          break;
        case KIND_STATIC:
          element = el(name ? 'output' : 'span', 'ts-static', value);
          if (style & STYLE_CENTRE) {
            element.classList.add('ts-centre');
          } else if (style & STYLE_RIGHT) {
            element.classList.add('ts-right');
          }
          if (name) {
            control.name = name;
            element.setAttribute('aria-label', name + ' ' + value);
          }
          break;
        case KIND_GROUP_BOX:
          element = el('div', 'ts-frame');
          element.setAttribute('aria-hidden', 'true');
          break;
        case KIND_LIST:
          control.list = makeList(win, id, name);
          element = control.list.box;
          control.focusable = control.list.table;
          break;
        case KIND_ICON:
          element = el('button', 'ts-icon');
          element.type = 'button';
          element.setAttribute('aria-label', name);
          var picture = el('img');
          picture.src = value;
          picture.alt = '';
          element.appendChild(picture);
          if (style & STYLE_REPORTS_CLICKS) {
            element.addEventListener('click', function () { post(win, EVENT_COMMAND, id); });
          }
          break;
        case KIND_UPDOWN:
          var arrows = makeUpDown(win, index, id, name);
          win.arrowKeys[index] = true;
          element = arrows.element;
          control.buttons = arrows.buttons;
          break;
        default:
          element = el('span');
      }
      element.dataset.controlId = String(id);
      if (id === -1) {
        element.dataset.index = String(index);
      }
      if (kind !== KIND_GROUP_BOX) {
        element.style.gridArea = 'c' + index;  // the window's style sheet places it
      }
      if (!(style & STYLE_TAB_STOP)) {
        // Not on the Tab road, as on the desktop; still reachable by touch.
        var target = control.focusable || element;
        if (kind === KIND_UPDOWN) {
          control.buttons.forEach(function (b) { b.tabIndex = -1; });
          win.arrowKeys[index] = false;
        } else if (kind === KIND_BUTTON || kind === KIND_EDIT || kind === KIND_COMBO ||
                   kind === KIND_LIST || kind === KIND_ICON) {
          target.tabIndex = -1;
        }
      }
      if (id === 1000 && win.isMain && kind === KIND_LIST) {
        var menu = el('button', 'ts-button ts-menu-button', 'メニュー');
        menu.type = 'button';
        menu.dataset.menuFor = String(id);
        menu.setAttribute('aria-haspopup', 'menu');
        menu.setAttribute('aria-label', (name ? name + 'の' : '') + 'メニュー');
        menu.addEventListener('click', function () { post(win, EVENT_CONTEXT_MENU, id); });
        win.tools.appendChild(menu);
      }
      control.element = element;
      win.controls[index] = control;
      win.body.appendChild(element);
      if (control.choices) {
        win.body.appendChild(control.choices);
      }
    },

    // A command beside the template's controls, in the title bar.
    addCommandButton: function (handle, id, textPointer, textLength) {
      var win = windows[handle];
      var button = el('button', 'ts-button ts-command', text(textPointer, textLength));
      button.type = 'button';
      button.dataset.command = String(id);
      button.addEventListener('click', function () { post(win, EVENT_COMMAND, id); });
      win.tools.insertBefore(button, win.tools.firstChild);
    },

    showWindow: function (handle, firstStop) {
      var win = windows[handle];
      var element = win.element;
      element.hidden = false;
      if (win.isMain) {
        document.title = win.element.querySelector('.ts-caption').textContent;
      } else {
        element.dataset.open = '1';
        element.showModal();
      }
      var first = firstStop >= 0 ? win.controls[firstStop] : null;
      if (first) {
        (first.focusable || (first.buttons ? first.buttons[0] : first.element)).focus();
      }
    },

    closeWindow: function (handle) {
      var win = windows[handle];
      win.closed = true;
      if (win.waiter) {
        win.waiter(0);
        win.waiter = null;
      }
      var element = win.element;
      if (element.tagName === 'DIALOG') {
        delete element.dataset.open;
        if (element.open) {
          element.close();
        }
      }
      element.remove();
      windows[handle] = null;
    },

    nextEvent: function (handle) {
      var win = windows[handle];
      if (win.isMain && document.body.dataset.ready !== '1') {
        document.body.dataset.ready = '1';
      }
      if (win.queue.length > 0) {
        return Promise.resolve(win.queue.shift());
      }
      return new Promise(function (resolve) { win.waiter = resolve; });
    },

    itemText: function (handle, index, pointer, capacity) {
      var control = windows[handle].controls[index];
      var element = control.element;
      var value = element.tagName === 'INPUT' ? element.value : element.textContent;
      return copyOut(value, pointer, capacity);
    },

    setItemText: function (handle, index, pointer, length) {
      var control = windows[handle].controls[index];
      var value = text(pointer, length);
      var element = control.element;
      if (element.tagName === 'INPUT') {
        element.value = value;
      } else if (control.kind === KIND_STATIC || control.kind === KIND_BUTTON) {
        element.textContent = value;
        if (control.kind === KIND_STATIC && control.name) {
          element.setAttribute('aria-label', valueName(control));
        }
      }
    },

    limitText: function (handle, index, units) {
      var element = windows[handle].controls[index].element;
      if (element.tagName === 'INPUT') {
        element.maxLength = units;
        if (element.value.length > units) {
          element.value = element.value.slice(0, units);
          dropLoneSurrogates(element);
        }
      }
    },

    insertComboEntry: function (handle, index, position, pointer, length) {
      var choices = windows[handle].controls[index].choices;
      if (!choices) {
        return;
      }
      var option = el('option');
      option.value = text(pointer, length);
      var before = position >= 0 && position < choices.children.length
                       ? choices.children[position] : null;
      choices.insertBefore(option, before);
    },

    // The list view: columns and rows as the program sets them.
    listInsertColumn: function (handle, index, position, pointer, length, width) {
      var list = windows[handle].controls[index].list;
      var at = Math.max(0, Math.min(position, list.columns.length));
      var th = el('th', at === 0 ? '' : 'ts-right', text(pointer, length));
      th.scope = 'col';
      th.style.minWidth = Math.max(width, 0) + 'px';
      list.headRow.insertBefore(th, list.headRow.children[at] || null);
      list.columns.splice(at, 0, th);
      for (var r = 0; r < list.body.rows.length; ++r) {
        var row = list.body.rows[r];
        row.insertBefore(el('td'), row.children[at] || null);
      }
      this.listRealign(list);
    },

    listRealign: function (list) {
      var cells = list.table.querySelectorAll('th, td');
      for (var i = 0; i < cells.length; ++i) {
        cells[i].classList.toggle('ts-right', cells[i].cellIndex !== 0);
      }
    },

    listDeleteColumns: function (handle, index, count) {
      var list = windows[handle].controls[index].list;
      for (var i = 0; i < count && list.columns.length > 0; ++i) {
        list.columns.shift().remove();
        for (var r = 0; r < list.body.rows.length; ++r) {
          var row = list.body.rows[r];
          if (row.cells.length > 0) {
            row.deleteCell(0);
          }
        }
      }
      this.listRealign(list);
    },

    listSetCell: function (handle, index, pointer, length, subitem, rowIndex) {
      var list = windows[handle].controls[index].list;
      var rows = list.body.rows;
      var value = text(pointer, length);
      if (subitem === 0) {
        if (rowIndex < 0) {
          return;
        }
        var row = el('tr');
        row.id = nextId('row');
        row.setAttribute('aria-selected', 'false');
        for (var c = 0; c < list.columns.length; ++c) {
          row.appendChild(el('td', c === 0 ? '' : 'ts-right'));
        }
        if (row.cells.length > 0) {
          row.cells[0].textContent = value;
        }
        list.body.insertBefore(row, rows[Math.min(rowIndex, rows.length)] || null);
        return;
      }
      if (rowIndex < 0 || rowIndex >= rows.length || subitem >= rows[rowIndex].cells.length) {
        return;
      }
      rows[rowIndex].cells[subitem].textContent = value;
    },

    listDeleteRow: function (handle, index, rowIndex) {
      var list = windows[handle].controls[index].list;
      if (rowIndex < 0 || rowIndex >= list.body.rows.length) {
        return;
      }
      // The selection stays with its row; the deleted row's goes with it.
      list.body.deleteRow(rowIndex);
    },

    listDeleteAllRows: function (handle, index) {
      windows[handle].controls[index].list.body.replaceChildren();
    },

    listSelected: function (handle, index) {
      return listSelected(windows[handle].controls[index].list);
    },

    listSelect: function (handle, index, rowIndex) {
      var list = windows[handle].controls[index].list;
      listSelect(list, rowIndex, false);
    },

    // A modal message box; resolves with the index of the button pressed,
    // or -1 when dismissed (Escape).
    messageBox: function (textPointer, textLength, captionPointer, captionLength, buttons) {
      var labels = [['OK'], ['OK', 'キャンセル'], ['再試行', 'キャンセル'], ['はい', 'いいえ']][buttons];
      var answers = [['ok'], ['ok', 'cancel'], ['retry', 'cancel'], ['yes', 'no']][buttons];
      var box = el('dialog', 'ts-window ts-message');
      box.setAttribute('role', 'alertdialog');
      var title = el('h2', 'ts-caption', text(captionPointer, captionLength));
      title.id = nextId('caption');
      var message = el('p', 'ts-message-text', text(textPointer, textLength));
      message.id = nextId('message');
      box.setAttribute('aria-labelledby', title.id);
      box.setAttribute('aria-describedby', message.id);
      var row = el('div', 'ts-buttons');
      box.appendChild(title);
      box.appendChild(message);
      box.appendChild(row);
      document.getElementById('ts-app').appendChild(box);
      return new Promise(function (resolve) {
        function finish(answer) {
          delete box.dataset.open;
          box.close();
          box.remove();
          resolve(answer);
        }
        labels.forEach(function (label, i) {
          var button = el('button', 'ts-button', label);
          button.type = 'button';
          button.dataset.answer = answers[i];
          button.addEventListener('click', function () { finish(i); });
          row.appendChild(button);
        });
        keepOpen(box, function () { finish(-1); });
        box.addEventListener('keydown', function (e) {
          if (e.key === 'Escape') {
            e.preventDefault();
            finish(-1);
          }
        });
        box.dataset.open = '1';
        box.showModal();
        row.firstChild.focus();
      });
    },

    menuAdd: function (command, pointer, length) {
      menuTexts.push({command: command, text: text(pointer, length)});
    },

    // Shows the entries added since the last menu; resolves with the chosen
    // command, or 0.
    menuRun: function (labelPointer, labelLength) {
      var entries = menuTexts;
      menuTexts = [];
      var box = el('dialog', 'ts-menu');
      box.setAttribute('aria-label', text(labelPointer, labelLength) || 'メニュー');
      var list = el('div', 'ts-menu-items');
      list.setAttribute('role', 'menu');
      box.appendChild(list);
      document.getElementById('ts-app').appendChild(box);
      return new Promise(function (resolve) {
        var items = [];
        function finish(command) {
          delete box.dataset.open;
          box.close();
          box.remove();
          resolve(command);
        }
        entries.forEach(function (entry) {
          var item = el('button', 'ts-menu-item', entry.text);
          item.type = 'button';
          item.setAttribute('role', 'menuitem');
          item.dataset.command = String(entry.command);
          item.addEventListener('click', function () { finish(entry.command); });
          list.appendChild(item);
          items.push(item);
        });
        keepOpen(box, function () { finish(0); });
        box.addEventListener('click', function (e) {
          if (e.target === box) {
            finish(0);  // a tap beside the menu
          }
        });
        box.addEventListener('keydown', function (e) {
          var at = items.indexOf(document.activeElement);
          if (e.key === 'Escape') {
            e.preventDefault();
            finish(0);
          } else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
            e.preventDefault();
            var step = e.key === 'ArrowDown' ? 1 : items.length - 1;
            items[(at + step) % items.length].focus();
          }
        });
        box.dataset.open = '1';
        box.showModal();
        if (items.length > 0) {
          items[0].focus();
        }
      });
    },

    copyText: function (pointer, length) {
      var value = text(pointer, length);
      function fallback() {
        var area = el('textarea');
        area.value = value;
        area.setAttribute('readonly', '');
        area.className = 'ts-offscreen';
        (document.querySelector('dialog[open]') || document.body).appendChild(area);
        area.select();
        var done = false;
        try {
          done = document.execCommand('copy');
        } catch (e) {
          done = false;
        }
        area.remove();
        return done;
      }
      if (navigator.clipboard && navigator.clipboard.writeText) {
        return navigator.clipboard.writeText(value).then(function () { return 1; },
                                                         function () { return fallback() ? 1 : 0; });
      }
      return Promise.resolve(fallback() ? 1 : 0);
    },

    shareText: function (pointer, length) {
      var value = text(pointer, length);
      if (navigator.share) {
        // A share sheet the user closes is no failure.
        return navigator.share({text: value}).then(function () { return 1; }, function (e) {
          return e && e.name === 'AbortError' ? 1 : TSWeb.copyText(pointer, length);
        });
      }
      return TSWeb.copyText(pointer, length);
    },

    download: function (namePointer, nameLength, typePointer, typeLength, bytesPointer, size) {
      try {
        var blob = new Blob([HEAPU8.slice(bytesPointer, bytesPointer + size)],
                            {type: text(typePointer, typeLength)});
        var link = el('a');
        link.href = URL.createObjectURL(blob);
        link.download = text(namePointer, nameLength);
        link.className = 'ts-offscreen';
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
        return 1;
      } catch (e) {
        return 0;
      }
    },

    // The file picker: the chosen file is copied into the program's file
    // system, at most `limit` bytes of it; resolves with its path or ''.
    pickFile: function (acceptPointer, acceptLength, limit) {
      var input = el('input', 'ts-offscreen');
      input.type = 'file';
      input.accept = text(acceptPointer, acceptLength);
      (document.querySelector('dialog[open]') || document.body).appendChild(input);
      return new Promise(function (resolve) {
        var settled = false;
        function finish(path) {
          if (!settled) {
            settled = true;
            input.remove();
            resolve(path);
          }
        }
        input.addEventListener('cancel', function () { finish(''); });
        input.addEventListener('change', function () {
          var file = input.files && input.files[0];
          if (!file) {
            finish('');
            return;
          }
          file.slice(0, limit).arrayBuffer().then(function (buffer) {
            var path = '/tmp/picked.cfg';
            FS.writeFile(path, new Uint8Array(buffer));
            finish(path);
          }, function () {
            FS.writeFile('/tmp/picked.cfg', new Uint8Array(0));
            finish('/tmp/picked.cfg');
          });
        });
        input.click();
      });
    },

    wasmMemoryBytes: function () {
      return HEAPU8.length;
    }
  };
})();
