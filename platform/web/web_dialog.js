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

  function noticeLine() {
    var line = web.el('p', 'ts-notice');
    line.setAttribute('role', 'status');
    return line;
  }

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
    if (isMain) {
      // Made empty with the window, so that screen readers follow it from
      // the start (a live region made with its text is not announced).
      win.notice = noticeLine();
      element.appendChild(win.notice);
    }
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
      // The close box of a dialog's title bar, which cancels as Escape does.
      var close = web.el('button', 'ts-button ts-close', '\u00D7');
      close.type = 'button';
      close.setAttribute('aria-label', TSText.CLOSE);
      close.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, C.ID_CANCEL); });
      tools.appendChild(close);
    }
    return handle;
  };

  // A line under the window's caption, announced as a status; an empty
  // text removes it.
  web.showNotice = function (handle, text) {
    var win = web.windows[handle];
    if (!win.notice) {
      win.notice = noticeLine();
      win.element.insertBefore(win.notice, win.body);
    }
    win.notice.textContent = text;
  };

  web.showControl = function (handle, index, shown) {
    var control = web.windows[handle].controls[index];
    (control.box || control.element).hidden = !shown;
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

  // Words that say what control `index` shows, beside it where the
  // window's style sheet places them (grid area "d" and the index) and
  // read out with it.
  web.describeControl = function (handle, index, value) {
    var win = web.windows[handle];
    var control = win.controls[index];
    if (!control.description) {
      control.description = web.el('span', 'ts-description');
      control.description.id = web.nextId('description');
      control.description.style.gridArea = 'd' + index;
      win.body.appendChild(control.description);
    }
    control.description.textContent = value;
    control.description.hidden = value === '';
    if (value) {
      control.element.setAttribute('aria-describedby', control.description.id);
    } else {
      control.element.removeAttribute('aria-describedby');
    }
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
