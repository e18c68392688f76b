// The browser half of the web window system: modal message boxes with
// Japanese button texts, and menus as modal lists. (Part of the page
// script; see web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;
  var menuEntries = [];

  // The buttons of each button set, in the order the box shows them.
  var buttonSets = {};
  buttonSets[C.BUTTONS_OK] = [['OK', 'ok']];
  buttonSets[C.BUTTONS_OK_CANCEL] = [['OK', 'ok'], ['キャンセル', 'cancel']];
  buttonSets[C.BUTTONS_RETRY_CANCEL] = [['再試行', 'retry'], ['キャンセル', 'cancel']];
  buttonSets[C.BUTTONS_YES_NO] = [['はい', 'yes'], ['いいえ', 'no']];

  // Shows `box` modally above everything; `finish` is what Escape does.
  function showModal(box, finish) {
    web.keepOpen(box, finish);
    box.dataset.open = '1';
    box.showModal();
  }

  function close(box) {
    delete box.dataset.open;
    box.close();
    box.remove();
  }

  // Resolves with the index of the button pressed, or -1 when dismissed
  // (Escape).
  web.messageBox = function (message, caption, buttons) {
    var box = web.el('dialog', 'ts-window ts-message');
    box.setAttribute('role', 'alertdialog');
    var title = web.el('h2', 'ts-caption', caption);
    title.id = web.nextId('caption');
    var body = web.el('p', 'ts-message-text', message);
    body.id = web.nextId('message');
    box.setAttribute('aria-labelledby', title.id);
    box.setAttribute('aria-describedby', body.id);
    var row = web.el('div', 'ts-buttons');
    box.appendChild(title);
    box.appendChild(body);
    box.appendChild(row);
    document.getElementById('ts-app').appendChild(box);
    return new Promise(function (resolve) {
      function finish(answer) {
        close(box);
        resolve(answer);
      }
      (buttonSets[buttons] || buttonSets[C.BUTTONS_OK]).forEach(function (set, i) {
        var button = web.el('button', 'ts-button', set[0]);
        button.type = 'button';
        button.dataset.answer = set[1];
        button.addEventListener('click', function () { finish(i); });
        row.appendChild(button);
      });
      box.addEventListener('keydown', function (e) {
        if (e.key === 'Escape') {
          e.preventDefault();
          finish(-1);
        }
      });
      showModal(box, function () { finish(-1); });
      row.firstChild.focus();
    });
  };

  web.menuAdd = function (command, label) {
    menuEntries.push({command: command, text: label});
  };

  // Shows the entries added since the last menu; resolves with the chosen
  // command, or 0.
  web.menuRun = function (label) {
    var entries = menuEntries;
    menuEntries = [];
    var box = web.el('dialog', 'ts-menu');
    box.setAttribute('aria-label', label || 'メニュー');
    var list = web.el('div', 'ts-menu-items');
    list.setAttribute('role', 'menu');
    box.appendChild(list);
    document.getElementById('ts-app').appendChild(box);
    return new Promise(function (resolve) {
      var items = [];
      function finish(command) {
        close(box);
        resolve(command);
      }
      entries.forEach(function (entry) {
        var item = web.el('button', 'ts-menu-item', entry.text);
        item.type = 'button';
        item.setAttribute('role', 'menuitem');
        item.dataset.command = String(entry.command);
        item.addEventListener('click', function () { finish(entry.command); });
        list.appendChild(item);
        items.push(item);
      });
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
      showModal(box, function () { finish(0); });
      if (items.length > 0) {
        items[0].focus();
      }
    });
  };
})(TSWeb);
