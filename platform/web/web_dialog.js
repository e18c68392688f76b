// The browser half of the web window system: the windows. The main window
// is the page's <main>, every other one a modal <dialog>; keys become the
// program's commands and messages. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

  function isTextField(target) {
    return target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA');
  }

  // A modal <dialog> keeps Escape for itself: the cancel it would do is
  // turned into the program's command, and a dialog the browser closes
  // anyway is shown again until the program ends it.
  web.keepOpen = function (dialog, onEscape) {
    dialog.addEventListener('cancel', function (e) {
      e.preventDefault();
      onEscape();
    });
    dialog.addEventListener('close', function () {
      if (dialog.dataset.open === '1') {
        dialog.showModal();
      }
    });
  };

  // A window for template `templateId`; its handle.
  web.openWindow = function (templateId, caption, isMain) {
    var win = {
      templateId: templateId, controls: [], queue: [], waiter: null, closed: false,
      isMain: !!isMain, arrowKeys: []
    };
    var handle = web.windows.length;
    web.windows.push(win);
    var element = web.el(isMain ? 'main' : 'dialog', 'ts-window');
    element.dataset.templateId = String(templateId);
    var title = web.el(isMain ? 'h1' : 'h2', 'ts-caption', caption);
    title.id = web.nextId('caption');
    element.setAttribute('aria-labelledby', title.id);
    var header = web.el('header', 'ts-titlebar');
    header.appendChild(title);
    var tools = web.el('div', 'ts-tools');
    header.appendChild(tools);
    element.appendChild(header);
    var body = web.el('div', 'ts-body');
    element.appendChild(body);
    win.element = element;
    win.body = body;
    win.tools = tools;
    element.hidden = true;
    document.getElementById('ts-app').appendChild(element);

    element.addEventListener('keydown', function (e) {
      if (e.key === 'F1') {
        e.preventDefault();
        web.post(win, C.EVENT_HELP, 0);
        return;
      }
      if ((e.ctrlKey || e.metaKey) && !e.altKey && (e.key === 'c' || e.key === 'C')) {
        var selection = window.getSelection ? String(window.getSelection()) : '';
        if (!isTextField(e.target) && selection === '') {
          e.preventDefault();
          web.post(win, C.EVENT_COPY, 0);
        }
        return;
      }
      if (win.isMain) {
        return;  // the page has no close: Enter and Escape do nothing here
      }
      if (e.key === 'Escape') {
        e.preventDefault();
        web.post(win, C.EVENT_COMMAND, C.ID_CANCEL);
      } else if (e.key === 'Enter' && !e.isComposing && e.target.tagName !== 'BUTTON') {
        e.preventDefault();
        web.post(win, C.EVENT_COMMAND, C.ID_OK);
      }
    });
    if (!isMain) {
      web.keepOpen(element, function () { web.post(win, C.EVENT_COMMAND, C.ID_CANCEL); });
    }
    return handle;
  };

  // A command beside the template's controls, in the title bar.
  web.addCommandButton = function (handle, id, label) {
    var win = web.windows[handle];
    var button = web.el('button', 'ts-button ts-command', label);
    button.type = 'button';
    button.dataset.command = String(id);
    button.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, id); });
    win.tools.insertBefore(button, win.tools.firstChild);
  };

  web.showWindow = function (handle, firstStop) {
    var win = web.windows[handle];
    var element = win.element;
    if (win.isMain) {
      // The page's first picture of this window (index.html) gives way.
      var skeleton = document.getElementById('ts-skeleton');
      if (skeleton) {
        skeleton.remove();
      }
    }
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
  };

  // --- Hidden controls and the line under the caption (the read-only
  // view of a shared party needs both).

  web.showItem = function (handle, index, shown) {
    var control = web.windows[handle].controls[index];
    if (control) {
      control.element.hidden = !shown;
    }
  };

  // A state the user must keep in view, under the title bar; an empty
  // text removes it.
  web.showNotice = function (handle, text) {
    var win = web.windows[handle];
    if (!text) {
      if (win.notice) {
        win.notice.remove();
        win.notice = null;
      }
      return;
    }
    if (!win.notice) {
      win.notice = web.el('p', 'ts-notice');
      win.notice.setAttribute('role', 'status');
      win.element.insertBefore(win.notice, win.body);
    }
    win.notice.textContent = text;
  };

  web.closeWindow = function (handle) {
    var win = web.windows[handle];
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
    web.windows[handle] = null;
  };
})(TSWeb);
