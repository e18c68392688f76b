// The browser half of the web window system: the list's selection, by
// pointer, finger and keys, and its menu asked for by the right button, a
// long press, the Menu key or Shift+F10. (Part of the page script; see
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

  // The selected row is scrolled into view with the next frame, when the
  // list is laid out anyway: scrolling now would lay out the page in the
  // middle of the program's changes, and again once they are done.
  function scrollIntoViewSoon(list) {
    if (list.scrollSoon) {
      return;
    }
    list.scrollSoon = true;
    requestAnimationFrame(function () {
      list.scrollSoon = false;
      if (list.current && list.current.isConnected) {
        list.current.scrollIntoView({block: 'nearest'});
      }
    });
  }

  // The selection is the one row marked aria-selected; the list remembers
  // it, so that moving it touches two rows however long the list is.
  var select = web.selectListRow = function (list, index, focus) {
    var row = web.listRowAt(list, index);
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
      scrollIntoViewSoon(list);
      if (focus) {
        list.table.focus({preventScroll: true});
      }
    } else {
      list.table.removeAttribute('aria-activedescendant');
    }
  };

  function selected(list) {
    var row = list.current;
    return row && row.getAttribute('aria-selected') === 'true' ? web.listRowIndex(list, row) : -1;
  }

  // The list's events, for the list `id` of window `win`.
  web.listenToList = function (win, id, list) {
    function rowOf(target) {
      return web.listRowIndex(list, target.closest ? target.closest('tr') : null);
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
    list.table.addEventListener('click', function (e) { selectAt(e.target); });
    list.table.addEventListener('contextmenu', function (e) {
      e.preventDefault();
      selectAt(e.target);
      askMenu();
    });
    attachLongPress(list.table, function (e) {
      selectAt(e.target);
      askMenu();
    });
    list.table.addEventListener('keydown', function (e) {
      var count = web.listRowCount(list);
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
    list.table.addEventListener('contextmenu', function (e) {
      if (list.keyMenuAt && Date.now() - list.keyMenuAt < 500) {
        list.keyMenuAt = 0;
        e.stopImmediatePropagation();
        e.preventDefault();
      }
    }, true);
    list.table.addEventListener('pointerdown', function () { list.keyMenuAt = 0; }, true);
  };

  web.listSelected = function (handle, index) {
    return selected(web.windows[handle].controls[index].list);
  };

  web.listSelect = function (handle, index, rowIndex) {
    select(web.windows[handle].controls[index].list, rowIndex, false);
  };
})(TSWeb);
