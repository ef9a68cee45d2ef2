"use strict";
(function () {
  var PAGE = 2000, HITS = 1000;
  var catalogue = JSON.parse(document.getElementById("catalogue").textContent);
  // The first disc's tree stands before this script, the others after it: they are there once
  // the document is loaded.
  var parsed = [];
  function tree(disc) {
    if (!parsed[disc]) parsed[disc] = JSON.parse(document.querySelectorAll("script.tree")[disc].textContent);
    return parsed[disc];
  }
  function whenLoaded(run) {
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", run);
    else run();
  }
  function el(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined && text !== null) e.textContent = text;
    return e;
  }
  function sizeText(n) {
    return n === null ? "" : n.toString().replace(/\B(?=(\d{3})+(?!\d))/g, ",");
  }
  function dateText(s) {
    if (s === null) return "";
    var d = new Date(s * 1000);
    return isNaN(d) ? "" : d.toISOString().slice(0, 19).replace("T", " ");
  }
  function fileRows(table, files, from) {
    var end = Math.min(files.length, from + 3 * PAGE);
    for (var i = from; i < end; i += 3) {
      var row = table.insertRow();
      row.appendChild(el("td", "name", files[i]));
      row.appendChild(el("td", "size", sizeText(files[i + 1])));
      row.appendChild(el("td", "date", dateText(files[i + 2])));
    }
    return end;
  }
  // Fills a folder's list: its subfolders closed, then its files a page at a time.
  function fill(list, dir) {
    var subs = dir[5];
    for (var i = 0; i < subs.length; ++i) list.appendChild(folder(subs[i]));
    var files = dir[4];
    if (!files.length) return;
    var item = el("li"), table = el("table", "files");
    item.appendChild(table);
    list.appendChild(item);
    var shown = fileRows(table, files, 0);
    if (shown < files.length) {
      var more = el("button", "more");
      var label = function () { more.textContent = "Show more files (" + sizeText((files.length - shown) / 3) + " not shown)"; };
      label();
      more.addEventListener("click", function () {
        shown = fileRows(table, files, shown);
        if (shown < files.length) label(); else more.remove();
      });
      item.appendChild(more);
    }
  }
  function folder(dir) {
    var item = el("li", "folder");
    var button = el("button", "toggle", dir[0]);
    button.setAttribute("aria-expanded", "false");
    item.appendChild(button);
    var meta = sizeText(dir[1]);
    if (dir[2] !== null) meta += (meta ? "  " : "") + dateText(dir[2]);
    if (dir[3]) meta += (meta ? "  " : "") + dir[3] + " archive";
    if (meta) item.appendChild(el("span", "meta", meta));
    var list = null;
    button.addEventListener("click", function () {
      var open = button.getAttribute("aria-expanded") !== "true";
      button.setAttribute("aria-expanded", open ? "true" : "false");
      if (open && !list) {
        list = el("ul", "tree");
        fill(list, dir);
        item.appendChild(list);
      } else if (list) {
        list.hidden = !open;
      }
    });
    return item;
  }
  function openDisc(section, index) {
    var list = el("ul", "tree");
    fill(list, tree(index));
    section.appendChild(list);
  }
  document.getElementById("title").textContent = catalogue.title;
  document.title = catalogue.title || "Catalogue";
  document.getElementById("memo").textContent = catalogue.memo;
  var discsSection = document.getElementById("discs");
  var sections = [];
  catalogue.discs.forEach(function (disc, index) {
    var section = el("section", "disc");
    var heading = el("h2");
    var button = el("button", "toggle", disc.title || "(untitled disc)");
    button.setAttribute("aria-expanded", "false");
    heading.appendChild(button);
    section.appendChild(heading);
    var props = el("dl", "props");
    disc.properties.forEach(function (p) {
      props.appendChild(el("dt", null, p[0]));
      props.appendChild(el("dd", null, p[1]));
    });
    section.appendChild(props);
    var opened = false;
    button.addEventListener("click", function () {
      var open = button.getAttribute("aria-expanded") !== "true";
      button.setAttribute("aria-expanded", open ? "true" : "false");
      if (open && !opened) { opened = true; whenLoaded(function () { openDisc(section, index); }); }
      else if (section.lastChild.tagName === "UL") section.lastChild.hidden = !open;
    });
    sections.push(button);
    discsSection.appendChild(section);
  });
  if (sections.length) sections[0].click();

  // Search: every name that holds the text, without regard to case, with its path.
  var results = document.getElementById("results"), status = document.getElementById("status");
  var timer = 0;
  function search(text) {
    results.textContent = "";
    if (!text) { results.hidden = true; status.textContent = ""; return; }
    var needle = text.toLowerCase(), count = 0;
    var ol = el("ol");
    function hit(disc, path, name, size, date, isDir) {
      ++count;
      if (count > HITS) return;
      var li = el("li");
      li.appendChild(el("span", "path", catalogue.discs[disc].title + ": " + path + (isDir ? "/" : "")));
      var meta = [sizeText(size), dateText(date)].filter(Boolean).join("  ");
      if (meta) li.appendChild(el("span", "meta", meta));
      ol.appendChild(li);
    }
    for (var d = 0; d < catalogue.discs.length; ++d) {
      var stack = [[tree(d), ""]];
      while (stack.length) {
        var top = stack.pop(), dir = top[0], path = top[1];
        var files = dir[4];
        for (var i = 0; i < files.length; i += 3)
          if (files[i].toLowerCase().indexOf(needle) >= 0)
            hit(d, (path ? path + "/" : "") + files[i], files[i], files[i + 1], files[i + 2], false);
        var subs = dir[5];
        for (var k = subs.length - 1; k >= 0; --k) {
          var sub = subs[k], subPath = (path ? path + "/" : "") + sub[0];
          if (sub[0].toLowerCase().indexOf(needle) >= 0) hit(d, subPath, sub[0], sub[1], sub[2], true);
          stack.push([sub, subPath]);
        }
      }
    }
    results.appendChild(ol);
    if (count > HITS) results.appendChild(el("p", "note", sizeText(count - HITS) + " more hits not shown: narrow the search."));
    status.textContent = sizeText(count) + (count === 1 ? " hit" : " hits");
    results.hidden = false;
  }
  var box = document.getElementById("search");
  box.addEventListener("input", function () {
    clearTimeout(timer);
    timer = setTimeout(function () { whenLoaded(function () { search(box.value); }); }, 250);
  });
  box.addEventListener("keydown", function (e) {
    if (e.key === "Enter") { clearTimeout(timer); whenLoaded(function () { search(box.value); }); }
  });
  document.body.setAttribute("data-ready-ms", Math.round(performance.now()));
})();
