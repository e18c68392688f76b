// The browser half of the web window system: the report-view list as a
// grid table with single selection, text-only rows, the first column
// left-aligned and the amounts right-aligned. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

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

  // The command the list's rows offer on their own, where one of its
  // columns has one (C.ROW_COMMANDS, by role): its id, the column its cells
  // stand beside, and the text of the window's own button for it; null
  // where none has.
  function rowCommandOf(list) {
    for (var c = 0; c < list.columns.length; ++c) {
      var command = C.ROW_COMMANDS[list.columns[c].dataset.role];
      if (command) {
        var own = list.win.controls.filter(function (control) {
          return control && control.id === command;
        })[0];
        return {command: command, column: c, label: own ? own.element.textContent : ''};
      }
    }
    return null;
  }

  // The cell after a row's columns that holds its command. The keyboard
  // gives the command with the window's own button, on the selected row.
  function makeCommandCell(list) {
    var cell = web.el('td', 'ts-row-command');
    cell.setAttribute('role', 'gridcell');
    var button = web.el('button', 'ts-button', list.rowCommand.label);
    button.type = 'button';
    button.tabIndex = -1;
    cell.appendChild(button);
    return cell;
  }

  function hasCommandCell(row) {
    var last = row.lastElementChild;
    return last !== null && last.classList.contains('ts-row-command');
  }

  // The row every new row is a copy of: its cells, one per column, and the
  // cell of the rows' command where they have one.
  function renewPrototype(list) {
    var row = web.el('tr');
    row.setAttribute('role', 'row');
    row.setAttribute('aria-selected', 'false');
    list.columns.forEach(function (th, c) {
      th.dataset.cellClass = 'ts-col-' + th.dataset.role + (c === 0 ? '' : ' ts-right');
      row.appendChild(makeCell(th));
    });
    var had = Boolean(list.rowCommand);
    list.rowCommand = rowCommandOf(list);
    if (list.rowCommand) {
      row.appendChild(makeCommandCell(list));
    }
    // Rows shown already gain or lose the cell (only when that changes: a
    // long list's columns come and go with its view).
    for (var r = 0; had !== Boolean(list.rowCommand) && r < list.body.rows.length; ++r) {
      var shown = list.body.rows[r];
      if (list.rowCommand) {
        shown.appendChild(makeCommandCell(list));
      } else if (hasCommandCell(shown)) {
        shown.lastElementChild.remove();
      }
    }
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

  // The list in `box` (emptied first).
  web.makeList = function (win, id, name, box) {
    box.replaceChildren();
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
    var list = {win: win, box: box, table: table, headRow: headRow, body: body, columns: [],
                current: null, prototype: null, empty: null, rowCommand: null};
    renewPrototype(list);

    web.listenToList(win, id, list);
    // A row's command, given once the tap has selected its row.
    table.addEventListener('click', function (e) {
      var button = e.target.closest ? e.target.closest('.ts-row-command > button') : null;
      if (button && !button.disabled && list.rowCommand && table.contains(button)) {
        web.post(win, C.EVENT_COMMAND, list.rowCommand.command);
      }
    });
    return list;
  };

  // The rows' command shows while the window's own button for it does
  // (a read-only view has neither).
  web.showRowCommands = function (win, id, shown) {
    win.controls.forEach(function (control) {
      var list = control && control.list;
      if (list && list.rowCommand && list.rowCommand.command === id) {
        list.table.classList.toggle('ts-row-commands-hidden', !shown);
      }
    });
  };

  // A row whose command cell says it is settled offers the command no more.
  function offerCommands(list) {
    var column = list.rowCommand.column;
    var settled = TONES[C.TONE_SETTLED];
    for (var r = 0; r < list.body.rows.length; ++r) {
      var row = list.body.rows[r];
      var cell = row.cells[column];
      if (hasCommandCell(row) && cell) {
        row.lastElementChild.firstChild.disabled = cell.dataset.tone === settled;
      }
    }
  }

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

  // A cell's tone by its number (res::Tone): its name, which the style sheet
  // colours and words (both generated from the same table).
  var TONES = C.TONES;

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
      web.selectListRow(list, -1, false);
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
    if (list.rowCommand) {
      offerCommands(list);
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

})(TSWeb);
