// The browser half of the web window system: the report-view list as a
// grid table with single selection, text-only rows, the first column
// left-aligned and the amounts right-aligned. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

  // The rows stand in sections (tbody) of about SECTION rows: a long list
  // lays out and paints only the sections in view (list.css), and the
  // browser watches a section per hundred rows rather than every row. A
  // section is never empty; a list without rows has none.
  var SECTION = 100;

  // The rows of the list, the head's row not counted, by index.
  function rowCount(list) {
    return list.table.rows.length - 1;
  }
  var rowAt = web.listRowAt = function (list, index) {
    return index >= 0 && index < rowCount(list) ? list.table.rows[index + 1] : null;
  };
  web.listRowCount = rowCount;
  // The index of `row`, -1 unless it is one of the list's rows.
  web.listRowIndex = function (list, row) {
    var section = row ? row.parentNode : null;
    return section && section.tagName === 'TBODY' && section.parentNode === list.table
        ? row.rowIndex - 1 : -1;
  };
  function eachRow(list, visit) {
    var rows = list.table.querySelectorAll(':scope > tbody > tr');
    for (var r = 0; r < rows.length; ++r) {
      visit(rows[r]);
    }
  }

  function newSection() {
    var section = web.el('tbody');
    section.setAttribute('role', 'rowgroup');
    return section;
  }

  // A section's row count sizes it while it is out of view.
  function recount(section) {
    section.style.setProperty('--ts-rows', String(section.rows.length));
  }

  // Puts the rows `made` where row `at` is (at the end when there is none):
  // the end's section filled up, then new sections; a section grown past
  // twice its size split.
  function placeRows(list, at, made) {
    var before = rowAt(list, at);
    var sections = list.table.tBodies;
    var section = before ? before.parentNode : sections[sections.length - 1] || null;
    var placed = 0;
    if (section) {
      placed = before ? made.length : Math.min(made.length, Math.max(0, SECTION - section.rows.length));
      var part = document.createDocumentFragment();
      for (var i = 0; i < placed; ++i) {
        part.appendChild(made[i]);
      }
      section.insertBefore(part, before);
      if (section.rows.length > 2 * SECTION) {
        split(section);
      } else if (placed > 0) {
        recount(section);
      }
    }
    var rest = document.createDocumentFragment();
    while (placed < made.length) {
      var fresh = newSection();
      for (var end = Math.min(placed + SECTION, made.length); placed < end; ++placed) {
        fresh.appendChild(made[placed]);
      }
      recount(fresh);
      rest.appendChild(fresh);
    }
    list.table.appendChild(rest);
  }

  // Splits a section into as few sections of at most SECTION rows as
  // hold its rows, of about equal size.
  function split(section) {
    var rows = Array.prototype.slice.call(section.rows);
    var size = Math.ceil(rows.length / Math.ceil(rows.length / SECTION));
    var pieces = document.createDocumentFragment();
    for (var from = size; from < rows.length; from += size) {
      var fresh = newSection();
      for (var r = from; r < Math.min(from + size, rows.length); ++r) {
        fresh.appendChild(rows[r]);
      }
      recount(fresh);
      pieces.appendChild(fresh);
    }
    section.parentNode.insertBefore(pieces, section.nextSibling);
    recount(section);
  }

  // Takes rows `at` to `last` away, and the sections that leaves empty.
  function removeRows(list, at, last) {
    if (at === 0 && last === rowCount(list) - 1) {
      list.table.querySelectorAll(':scope > tbody').forEach(function (section) { section.remove(); });
      return;
    }
    var first = rowAt(list, at);
    var end = rowAt(list, last);
    var range = document.createRange();
    range.setStartBefore(first);
    range.setEndAfter(end);
    var touched = [first.parentNode, end.parentNode];
    range.deleteContents();
    touched.forEach(function (section) {
      if (section.rows.length === 0) {
        section.remove();
      } else {
        recount(section);
      }
    });
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
    if (had !== Boolean(list.rowCommand)) {
      eachRow(list, function (shown) {
        if (list.rowCommand) {
          shown.appendChild(makeCommandCell(list));
        } else if (hasCommandCell(shown)) {
          shown.lastElementChild.remove();
        }
      });
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
      list.empty.hidden = rowCount(list) > 0 || list.empty.textContent === '';
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
    table.appendChild(head);
    box.appendChild(table);
    var list = {win: win, box: box, table: table, headRow: headRow, columns: [],
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
    eachRow(list, function (row) {
      var cell = row.cells[column];
      if (hasCommandCell(row) && cell) {
        row.lastElementChild.firstChild.disabled = cell.dataset.tone === settled;
      }
    });
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
    eachRow(list, function (row) {
      row.insertBefore(makeCell(th), row.children[at] || null);
    });
    realign(list);
  };

  web.listDeleteColumns = function (handle, index, count) {
    var list = listAt(handle, index);
    for (var i = 0; i < count && list.columns.length > 0; ++i) {
      list.columns.shift().remove();
      eachRow(list, function (row) {
        if (row.cells.length > 0) {
          row.deleteCell(0);
        }
      });
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
    if (removed > 0 && at < rowCount(list)) {
      removeRows(list, at, Math.min(at + removed, rowCount(list)) - 1);
    }
    if (inserted > 0) {
      var made = [];
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
        made.push(row);
      }
      placeRows(list, at, made);
    }
    for (var i = 0; i < changed; ++i) {
      var target = rowAt(list, ops[p]);
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
