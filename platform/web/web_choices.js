// The browser half of the web window system: a combo box's list of
// choices. (Part of the page script; see web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

  // A combo box's list: every choice whatever the field holds (a datalist
  // would offer only those that match it), opened by its button or Alt+Down,
  // shown under the field so that no dialog cuts it off.
  web.makeChoices = function (win, id, field, name, control) {
    var box = web.el('div', 'ts-combo');
    var list = web.el('ul', 'ts-choices');
    list.id = web.nextId('choices');
    list.setAttribute('role', 'listbox');
    list.setAttribute('aria-label', name);
    list.hidden = true;
    var toggle = web.el('button', 'ts-button ts-choices-button', '\u25BC');
    toggle.type = 'button';
    toggle.tabIndex = -1;
    toggle.setAttribute('aria-label', name + TSText.MENU_OF + TSText.CHOICES);
    toggle.setAttribute('aria-controls', list.id);
    field.setAttribute('role', 'combobox');
    field.setAttribute('aria-autocomplete', 'none');
    field.setAttribute('aria-controls', list.id);
    field.setAttribute('aria-expanded', 'false');
    var active = -1;

    function options() {
      return Array.prototype.slice.call(list.children);
    }
    function highlight(index) {
      var all = options();
      active = all.length === 0 ? -1 : Math.max(0, Math.min(index, all.length - 1));
      all.forEach(function (option, i) {
        option.setAttribute('aria-selected', i === active ? 'true' : 'false');
      });
      if (active >= 0) {
        field.setAttribute('aria-activedescendant', all[active].id);
        all[active].scrollIntoView({block: 'nearest'});
      }
    }
    function show(open) {
      list.hidden = !open;
      field.setAttribute('aria-expanded', open ? 'true' : 'false');
      toggle.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) {
        var at = options().findIndex(function (option) { return option.textContent === field.value; });
        highlight(at);
      } else {
        field.removeAttribute('aria-activedescendant');
      }
    }
    function choose(option) {
      field.value = option.textContent;
      show(false);
      field.focus();
      web.post(win, C.EVENT_FIELD_CHANGED, id);
    }
    toggle.addEventListener('click', function () {
      show(list.hidden);
      field.focus();
    });
    // A press on a choice keeps the focus in the field.
    list.addEventListener('pointerdown', function (e) { e.preventDefault(); });
    list.addEventListener('click', function (e) {
      var option = e.target.closest ? e.target.closest('[role="option"]') : null;
      if (option) {
        choose(option);
      }
    });
    field.addEventListener('blur', function () { show(false); });
    field.addEventListener('keydown', function (e) {
      var open = !list.hidden;
      if ((e.key === 'ArrowDown' || e.key === 'ArrowUp') && (open || e.altKey)) {
        e.preventDefault();
        if (!open) {
          show(true);
        } else {
          highlight(active + (e.key === 'ArrowDown' ? 1 : -1));
        }
      } else if (open && (e.key === 'Enter' || e.key === 'Escape')) {
        // The dialog's own Enter (OK) and Escape (CANCEL) wait until the
        // list is closed.
        e.preventDefault();
        e.stopPropagation();
        if (e.key === 'Enter' && active >= 0) {
          choose(options()[active]);
        } else {
          show(false);
        }
      }
    });
    control.box = box;
    control.choices = list;
    box.appendChild(toggle);
    box.appendChild(list);
  };
})(TSWeb);
