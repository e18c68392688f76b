// The browser half of the web window system: the report-view list as a
// grid table with single selection, text-only rows, the first column
// left-aligned and the amounts right-aligned. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;
  var LONG_PRESS_MS = 550;

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

  // The selection is the one row marked aria-selected; the list remembers
  // it, so that moving it touches two rows however long the list is.
  function select(list, index, focus) {
    var rows = list.body.rows;
    var row = index >= 0 && index < rows.length ? rows[index] : null;
    if (list.current && list.current !== row) {
      list.current.setAttribute('aria-selected', 'false');
    }
    list.current = row;
    if (row) {
      if (!row.id) {
        row.id = web.nextId('row');
      }
      row.setAttribute('aria-selected', 'true');
      list.table.setAttribute('aria-activedescendant', row.id);
      row.scrollIntoView({block: 'nearest'});
      if (focus) {
        list.table.focus({preventScroll: true});
      }
    } else {
      list.table.removeAttribute('aria-activedescendant');
    }
  }

  function selected(list) {
    var row = list.current;
    if (row && row.parentNode === list.body && row.getAttribute('aria-selected') === 'true') {
      return row.sectionRowIndex;
    }
    return -1;
  }

  function realign(list) {
    var cells = list.table.querySelectorAll('th, td');
    for (var i = 0; i < cells.length; ++i) {
      cells[i].classList.toggle('ts-right', cells[i].cellIndex !== 0);
    }
  }

  // A cell of the column `th` (its role's class), as every row gets it.
  function makeCell(th) {
    var cell = web.el('td', th.dataset.cellClass);
    cell.setAttribute('role', 'gridcell');
    return cell;
  }

  // The row every new row is a copy of: its cells, one per column.
  function renewPrototype(list) {
    var row = web.el('tr');
    row.setAttribute('role', 'row');
    row.setAttribute('aria-selected', 'false');
    list.columns.forEach(function (th, c) {
      th.dataset.cellClass = 'ts-col-' + th.dataset.role + (c === 0 ? '' : ' ts-right');
      row.appendChild(makeCell(th));
    });
    list.prototype = row;
    // The columns in order; the style sheet sizes each by its role.
    list.table.style.setProperty('--ts-columns', list.columns.map(function (th) {
      return 'var(--ts-track-' + th.dataset.role + ', minmax(4rem, 1fr))';
    }).join(' ') || 'none');
  }

  // A text as a CSS string, for the words the style sheet shows itself.
  function cssString(value) {
    return '"' + value.replace(/[\\"]/g, '\\$&').replace(/\n/g, '\\A ') + '"';
  }

  // What the list says while it has no rows.
  function showWhenEmpty(list) {
    if (list.empty) {
      list.empty.hidden = list.body.rows.length > 0 || list.empty.textContent === '';
    }
  }

  function listAt(handle, index) {
    return web.windows[handle].controls[index].list;
  }

  web.makeList = function (win, id, name) {
    var box = web.el('div', 'ts-listbox');
    var table = web.el('table', 'ts-list');
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-readonly', 'true');
    table.setAttribute('aria-label', name);
    table.tabIndex = 0;
    var head = web.el('thead');
    head.setAttribute('role', 'rowgroup');
    var headRow = web.el('tr');
    headRow.setAttribute('role', 'row');
    head.appendChild(headRow);
    var body = web.el('tbody');
    body.setAttribute('role', 'rowgroup');
    table.appendChild(head);
    table.appendChild(body);
    box.appendChild(table);
    var list = {box: box, table: table, headRow: headRow, body: body, columns: [], current: null,
                prototype: null, empty: null};
    renewPrototype(list);

    function rowOf(target) {
      var row = target.closest ? target.closest('tr') : null;
      return row && row.parentNode === body ? row.sectionRowIndex : -1;
    }
    function selectAt(target) {
      var index = rowOf(target);
      if (index >= 0) {
        select(list, index, true);
      }
    }
    function askMenu() {
      web.post(win, C.EVENT_CONTEXT_MENU, id);
    }
    table.addEventListener('click', function (e) { selectAt(e.target); });
    table.addEventListener('contextmenu', function (e) {
      e.preventDefault();
      selectAt(e.target);
      askMenu();
    });
    attachLongPress(table, function (e) {
      selectAt(e.target);
      askMenu();
    });
    table.addEventListener('keydown', function (e) {
      var count = body.rows.length;
      var at = selected(list);
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
        select(list, Math.max(to, 0), true);
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
  };

  // Columns and rows as the program sets them. A column's role (name,
  // people, ratio, advance, share, balance) names its cells' class, and its
  // title is the label a card shows beside such a cell.
  web.listInsertColumn = function (handle, index, position, title, width, role) {
    var list = listAt(handle, index);
    var at = Math.max(0, Math.min(position, list.columns.length));
    var th = web.el('th', 'ts-col-' + role + (at === 0 ? '' : ' ts-right'), title);
    th.scope = 'col';
    th.setAttribute('role', 'columnheader');
    th.dataset.role = role;
    th.style.minWidth = Math.max(width, 0) + 'px';
    list.table.style.setProperty('--ts-title-' + role, cssString(title));
    list.headRow.insertBefore(th, list.headRow.children[at] || null);
    list.columns.splice(at, 0, th);
    renewPrototype(list);
    for (var r = 0; r < list.body.rows.length; ++r) {
      var row = list.body.rows[r];
      row.insertBefore(makeCell(th), row.children[at] || null);
    }
    realign(list);
  };

  web.listDeleteColumns = function (handle, index, count) {
    var list = listAt(handle, index);
    for (var i = 0; i < count && list.columns.length > 0; ++i) {
      list.columns.shift().remove();
      for (var r = 0; r < list.body.rows.length; ++r) {
        var row = list.body.rows[r];
        if (row.cells.length > 0) {
          row.deleteCell(0);
        }
      }
    }
    renewPrototype(list);
    realign(list);
  };

  var TONES = ['', 'pay', 'refund', 'even'];

  function setCell(cell, value, tone) {
    if (cell.textContent !== value) {
      cell.textContent = value;
    }
    if (tone) {
      cell.dataset.tone = TONES[tone];
    } else if (cell.dataset.tone) {
      delete cell.dataset.tone;
    }
  }

  // The changes of one refresh, as web_list_view.cpp hands them over: `ops`
  // says whether the selection goes, where rows go or come, how many go,
  // how many come (with their cells) and which cells change; every text is
  // its length there and its units in `texts`, in the same order.
  web.listApply = function (handle, index, ops, texts) {
    var list = listAt(handle, index);
    var body = list.body;
    var rows = body.rows;
    var at = ops[1];
    var removed = ops[2];
    var inserted = ops[3];
    var columns = ops[4];
    var changed = ops[5];
    var p = 6;
    var t = 0;
    if (ops[0]) {
      select(list, -1, false);
    }
    if (removed > 0 && at < rows.length) {
      var last = Math.min(at + removed, rows.length) - 1;
      if (at === 0 && last === rows.length - 1) {
        body.replaceChildren();
      } else {
        var range = document.createRange();
        range.setStartBefore(rows[at]);
        range.setEndAfter(rows[last]);
        range.deleteContents();
      }
    }
    if (inserted > 0) {
      var rowsIn = document.createDocumentFragment();
      for (var r = 0; r < inserted; ++r) {
        var row = list.prototype.cloneNode(true);
        var cell = row.firstChild;
        for (var c = 0; c < columns; ++c) {
          var length = ops[p];
          var tone = ops[p + 1];
          p += 2;
          if (cell) {
            if (length > 0) {
              cell.textContent = texts.substr(t, length);
            }
            if (tone) {
              cell.dataset.tone = TONES[tone];
            }
            cell = cell.nextSibling;
          }
          t += length;
        }
        rowsIn.appendChild(row);
      }
      body.insertBefore(rowsIn, rows[at] || null);
    }
    for (var i = 0; i < changed; ++i) {
      var target = rows[ops[p]];
      var where = target ? target.cells[ops[p + 1]] : null;
      var size = ops[p + 2];
      if (where) {
        setCell(where, texts.substr(t, size), ops[p + 3]);
      }
      p += 4;
      t += size;
    }
    showWhenEmpty(list);
  };

  web.listSetEmptyText = function (handle, index, value) {
    var list = listAt(handle, index);
    if (!list.empty) {
      list.empty = web.el('p', 'ts-list-empty');
      list.box.appendChild(list.empty);
    }
    list.empty.textContent = value;
    showWhenEmpty(list);
  };

  // The word shown with every row's figures while they are not results.
  web.listSetFiguresNote = function (handle, index, value) {
    var table = listAt(handle, index).table;
    if (value) {
      table.dataset.figuresNote = value;
      table.style.setProperty('--ts-figures-note', cssString(value));
    } else {
      delete table.dataset.figuresNote;
      table.style.removeProperty('--ts-figures-note');
    }
  };

  web.listSelected = function (handle, index) {
    return selected(listAt(handle, index));
  };

  web.listSelect = function (handle, index, rowIndex) {
    select(listAt(handle, index), rowIndex, false);
  };
})(TSWeb);
