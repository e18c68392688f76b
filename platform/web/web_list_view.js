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

  function select(list, index, focus) {
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

  function selected(list) {
    var rows = list.body.rows;
    for (var i = 0; i < rows.length; ++i) {
      if (rows[i].getAttribute('aria-selected') === 'true') {
        return i;
      }
    }
    return -1;
  }

  function realign(list) {
    var cells = list.table.querySelectorAll('th, td');
    for (var i = 0; i < cells.length; ++i) {
      cells[i].classList.toggle('ts-right', cells[i].cellIndex !== 0);
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
    var headRow = web.el('tr');
    head.appendChild(headRow);
    var body = web.el('tbody');
    table.appendChild(head);
    table.appendChild(body);
    box.appendChild(table);
    var list = {box: box, table: table, headRow: headRow, body: body, columns: []};

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

  // Columns and rows as the program sets them.
  web.listInsertColumn = function (handle, index, position, title, width) {
    var list = listAt(handle, index);
    var at = Math.max(0, Math.min(position, list.columns.length));
    var th = web.el('th', at === 0 ? '' : 'ts-right', title);
    th.scope = 'col';
    th.style.minWidth = Math.max(width, 0) + 'px';
    list.headRow.insertBefore(th, list.headRow.children[at] || null);
    list.columns.splice(at, 0, th);
    for (var r = 0; r < list.body.rows.length; ++r) {
      var row = list.body.rows[r];
      row.insertBefore(web.el('td'), row.children[at] || null);
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
    realign(list);
  };

  web.listSetCell = function (handle, index, value, subitem, rowIndex) {
    var list = listAt(handle, index);
    var rows = list.body.rows;
    if (subitem === 0) {
      if (rowIndex < 0) {
        return;
      }
      var row = web.el('tr');
      row.id = web.nextId('row');
      row.setAttribute('aria-selected', 'false');
      for (var c = 0; c < list.columns.length; ++c) {
        row.appendChild(web.el('td', c === 0 ? '' : 'ts-right'));
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
  };

  web.listDeleteRow = function (handle, index, rowIndex) {
    var list = listAt(handle, index);
    if (rowIndex < 0 || rowIndex >= list.body.rows.length) {
      return;
    }
    // The selection stays with its row; the deleted row's goes with it.
    list.body.deleteRow(rowIndex);
  };

  web.listDeleteAllRows = function (handle, index) {
    listAt(handle, index).body.replaceChildren();
  };

  web.listSelected = function (handle, index) {
    return selected(listAt(handle, index));
  };

  web.listSelect = function (handle, index, rowIndex) {
    select(listAt(handle, index), rowIndex, false);
  };
})(TSWeb);
