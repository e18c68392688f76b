// The browser half of the web window system: modal message boxes with
// Japanese button texts, and menus as modal lists. (Part of the page
// script; see web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;
  var menuEntries = [];

  // The buttons of each button set, in the order the box shows them.
  var buttonSets = {};
  buttonSets[C.BUTTONS_OK] = [[TSText.OK, 'ok']];
  buttonSets[C.BUTTONS_OK_CANCEL] = [[TSText.OK, 'ok'], [TSText.CANCEL, 'cancel']];
  buttonSets[C.BUTTONS_RETRY_CANCEL] = [[TSText.RETRY, 'retry'], [TSText.CANCEL, 'cancel']];
  buttonSets[C.BUTTONS_YES_NO] = [[TSText.YES, 'yes'], [TSText.NO, 'no']];

  // The icons of the boxes, drawn in the page: the exclamation sign of an
  // error, the information sign, the question mark; each with the name a
  // screen reader speaks.
  var icons = {};
  icons[C.ICON_WARNING] = {
    kind: 'warning', name: TSText.ICON_WARNING,
    path: 'M12 2 1 21h22L12 2zm-1 7h2v6h-2V9zm0 8h2v2h-2v-2z'
  };
  icons[C.ICON_INFORMATION] = {
    kind: 'information', name: TSText.ICON_INFORMATION,
    path: 'M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm-1 5h2v2h-2V7zm0 4h2v6h-2v-6z'
  };
  icons[C.ICON_QUESTION] = {
    kind: 'question', name: TSText.ICON_QUESTION,
    path: 'M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm-1 15h2v2h-2v-2zm1-12a4 4 0 0 1 4 4c0 ' +
          '2-3 2.5-3 5h-2c0-3.2 3-3.5 3-5a2 2 0 0 0-4 0H8a4 4 0 0 1 4-4z'
  };

  function iconOf(kind) {
    var icon = icons[kind];
    if (!icon) {
      return null;
    }
    var svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('viewBox', '0 0 24 24');
    svg.setAttribute('class', 'ts-box-icon ts-box-icon-' + icon.kind);
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', icon.name);
    var path = document.createElementNS('http://www.w3.org/2000/svg', 'path');
    path.setAttribute('d', icon.path);
    path.setAttribute('fill-rule', 'evenodd');
    svg.appendChild(path);
    return svg;
  }

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
  // (Escape). Its caption stands in a title bar like every window's.
  web.messageBox = function (message, caption, buttons, icon) {
    var box = web.el('dialog', 'ts-window ts-message');
    box.setAttribute('role', 'alertdialog');
    var header = web.el('header', 'ts-titlebar');
    var title = web.el('h2', 'ts-caption', caption);
    title.id = web.nextId('caption');
    header.appendChild(title);
    var content = web.el('div', 'ts-message-body');
    var picture = iconOf(icon);
    if (picture) {
      content.appendChild(picture);
    }
    var body = web.el('p', 'ts-message-text', message);
    body.id = web.nextId('message');
    content.appendChild(body);
    box.setAttribute('aria-labelledby', title.id);
    box.setAttribute('aria-describedby', body.id);
    var row = web.el('div', 'ts-buttons');
    box.appendChild(header);
    box.appendChild(content);
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
    box.setAttribute('aria-label', label || TSText.MENU);
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
