// The program's editing library. It runs in a script world of its own: the page's scripts see
// the same document but none of this, and cannot reach the host channel. The program calls it
// through kvEditing.call(name, args); it reports selection changes, pointer events, pastes and
// object resizes to the program through the channel.
(function () {
    'use strict';
    if (window.kvEditing)
        return;

    const blockContainerTags = ['p', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'li', 'td'];

    // ---- Element numbers --------------------------------------------------------------------
    // Elements are handed out as numbers; the map keeps them while the document lives, also while
    // they are out of the document, because an undo may bring them back.
    const refs = new Map();
    const numbers = new WeakMap();
    let nextRef = 1;

    function ref(node) {
        if (!(node instanceof Element))
            return null;
        let number = numbers.get(node);
        if (!number) {
            number = nextRef++;
            numbers.set(node, number);
            refs.set(number, node);
        }
        return number;
    }

    function el(number) {
        const node = refs.get(number);
        if (!node)
            throw new Error('no such element');
        return node;
    }

    const tagOf = (node) => (node && node.nodeType === 1 ? node.localName.toLowerCase() : '');

    // ---- Host channel -----------------------------------------------------------------------
    let host = null;
    const waiting = [];

    function tell(name, ...args) {
        if (host)
            host[name](...args);
        else
            waiting.push([name, args]);
    }

    function connectHost() {
        if (typeof QWebChannel !== 'function' || typeof qt !== 'object' || !qt.webChannelTransport)
            return;
        new QWebChannel(qt.webChannelTransport, (channel) => {
            host = channel.objects.kvHost;
            for (const [name, args] of waiting.splice(0))
                host[name](...args);
        });
    }

    // ---- Edit mode --------------------------------------------------------------------------
    let editing = false;

    function body() {
        return document.body;
    }

    function inBody(node) {
        const b = body();
        return !!b && !!node && b.contains(node);
    }

    function isMergeField(node) {
        return node && node.nodeType === 1 && tagOf(node) === 'span' && /^fc_\d+$/.test(node.getAttribute('name') || '');
    }

    // Merge fields are atomic while editing: the caret cannot enter them.
    function markMergeFields(on) {
        const b = body();
        if (!b)
            return;
        for (const span of b.querySelectorAll('span[name^="fc_"]')) {
            if (!isMergeField(span))
                continue;
            if (on)
                span.setAttribute('contenteditable', 'false');
            else
                span.removeAttribute('contenteditable');
        }
    }

    // Whether the host's own keys run Undo and Redo; the page's keys then do nothing themselves.
    let hostUndoKeys = false;

    function setEditMode(on, hostKeys) {
        hostUndoKeys = hostKeys;
        const b = body();
        if (!b)
            return status();
        suspend(() => {
            if (on) {
                b.setAttribute('contenteditable', 'true');
                markMergeFields(true);
            } else {
                b.removeAttribute('contenteditable');
                markMergeFields(false);
                deselectObject();
            }
        });
        editing = on;
        if (on)
            startRecording();
        else
            stopRecording();
        return status();
    }

    // The body's markup without what editing adds to the live page.
    function bodyMarkup() {
        const b = body();
        if (!b)
            return null;
        if (!editing)
            return b.innerHTML;
        const copy = b.cloneNode(true);
        for (const span of copy.querySelectorAll('span[name^="fc_"][contenteditable]'))
            if (isMergeField(span))
                span.removeAttribute('contenteditable');
        return copy.innerHTML;
    }

    // Replaces the document's content at once; the new content's scripts never run.
    function loadHtml(html) {
        const parsed = new DOMParser().parseFromString(String(html), 'text/html');
        stopRecording();
        deselectObject();
        const root = document.adoptNode(parsed.documentElement);
        if (document.documentElement)
            document.replaceChild(root, document.documentElement);
        else
            document.appendChild(root);
        editing = false;
        clearUndo();
        return true;
    }

    // ---- Undo -------------------------------------------------------------------------------
    // One list of steps: named units (an inner unit belongs to the outermost), typing and the
    // engine's own edits. A step holds the changes of the document as the observer saw them and
    // is undone by applying them backwards.
    const undoSteps = [];
    const redoSteps = [];
    let unitDepth = 0;
    let unit = null;
    let typing = null;
    let suspended = 0;
    let observer = null;
    let inputTitle = '';
    let lastInputAt = 0;

    function copyRecord(r) {
        return {
            type: r.type,
            target: r.target,
            name: r.attributeName,
            ns: r.attributeNamespace,
            oldValue: r.oldValue,
            added: Array.from(r.addedNodes),
            removed: Array.from(r.removedNodes),
            next: r.nextSibling,
        };
    }

    function caret() {
        const selection = document.getSelection();
        if (!selection || selection.rangeCount === 0)
            return null;
        const range = selection.getRangeAt(0);
        return { sc: range.startContainer, so: range.startOffset, ec: range.endContainer, eo: range.endOffset };
    }

    function restoreCaret(saved) {
        if (!saved || !document.contains(saved.sc) || !document.contains(saved.ec))
            return;
        try {
            const range = document.createRange();
            range.setStart(saved.sc, Math.min(saved.so, nodeLength(saved.sc)));
            range.setEnd(saved.ec, Math.min(saved.eo, nodeLength(saved.ec)));
            select(range);
        } catch (e) {
            // The saved place no longer fits the document; the selection stays where it is.
        }
    }

    const nodeLength = (node) => (node.nodeType === 1 ? node.childNodes.length : node.length);

    function takeRecords(records) {
        if (!observer)
            return;
        const taken = observer.takeRecords();
        if (suspended === 0)
            records(taken);
    }

    function onRecords(records) {
        if (records.length === 0 || suspended > 0)
            return;
        const copies = records.map(copyRecord);
        if (unit) {
            unit.records.push(...copies);
            return;
        }
        const title = inputTitle || 'Edit';
        const now = Date.now();
        if (!typing || typing.title !== title || now - lastInputAt > 2000) {
            typing = { title, records: [], before: typingCaret, after: null };
            undoSteps.push(typing);
        }
        lastInputAt = now;
        typing.records.push(...copies);
        typing.after = caret();
        redoSteps.length = 0;
        pushStatus();
    }

    let typingCaret = null;

    function startRecording() {
        if (observer || !body())
            return;
        observer = new MutationObserver(onRecords);
        observer.observe(body(), {
            subtree: true,
            childList: true,
            attributes: true,
            attributeOldValue: true,
            characterData: true,
            characterDataOldValue: true,
        });
    }

    function stopRecording() {
        if (observer)
            observer.disconnect();
        observer = null;
        typing = null;
        unit = null;
        unitDepth = 0;
    }

    function clearUndo() {
        undoSteps.length = 0;
        redoSteps.length = 0;
        typing = null;
    }

    // Runs a change that is not the user's (edit marks, undo itself) without recording it.
    function suspend(change) {
        takeRecords(onRecords);
        ++suspended;
        try {
            return change();
        } finally {
            if (observer)
                observer.takeRecords();
            --suspended;
        }
    }

    function beginUnit(title) {
        takeRecords(onRecords);
        typing = null;
        if (unitDepth++ === 0)
            unit = { title: String(title), records: [], before: caret(), after: null };
        return true;
    }

    function endUnit() {
        if (unitDepth === 0)
            return false;
        takeRecords(onRecords);
        if (--unitDepth === 0) {
            const done = unit;
            unit = null;
            if (done.records.length > 0) {
                done.after = caret();
                undoSteps.push(done);
                redoSteps.length = 0;
            }
            pushStatus();
        }
        return true;
    }

    // Runs an operation as one named unit, also when it throws.
    function inUnit(title, operation) {
        beginUnit(title);
        try {
            return operation();
        } finally {
            endUnit();
        }
    }

    function setAttr(node, name, ns, value) {
        if (value === null)
            ns ? node.removeAttributeNS(ns, name) : node.removeAttribute(name);
        else
            ns ? node.setAttributeNS(ns, name, value) : node.setAttribute(name, value);
    }

    // Applies a step's records backwards (undo) or forwards (redo). Each record keeps the value it
    // replaced, so after one direction it is ready for the other.
    function applyRecords(records, backwards) {
        const order = backwards ? records.slice().reverse() : records;
        for (const r of order) {
            if (r.type === 'attributes') {
                const current = r.ns ? r.target.getAttributeNS(r.ns, r.name) : r.target.getAttribute(r.name);
                setAttr(r.target, r.name, r.ns, r.oldValue);
                r.oldValue = current;
            } else if (r.type === 'characterData') {
                const current = r.target.data;
                r.target.data = r.oldValue;
                r.oldValue = current;
            } else {
                const remove = backwards ? r.added : r.removed;
                const insert = backwards ? r.removed : r.added;
                for (const node of remove)
                    if (node.parentNode === r.target)
                        r.target.removeChild(node);
                const next = r.next && r.next.parentNode === r.target ? r.next : null;
                for (const node of insert)
                    r.target.insertBefore(node, next);
            }
        }
    }

    function undo() {
        takeRecords(onRecords);
        if (unitDepth > 0 || undoSteps.length === 0)
            return false;
        typing = null;
        const step = undoSteps.pop();
        deselectObject();
        suspend(() => applyRecords(step.records, true));
        redoSteps.push(step);
        restoreCaret(step.before);
        pushStatus();
        return true;
    }

    function redo() {
        takeRecords(onRecords);
        if (unitDepth > 0 || redoSteps.length === 0)
            return false;
        typing = null;
        const step = redoSteps.pop();
        deselectObject();
        suspend(() => applyRecords(step.records, false));
        undoSteps.push(step);
        restoreCaret(step.after);
        pushStatus();
        return true;
    }

    const undoTitles = () => undoSteps.map((s) => s.title).reverse();
    const redoTitles = () => redoSteps.map((s) => s.title).reverse();

    // ---- Selection --------------------------------------------------------------------------
    let selectedObject = null;

    function select(range) {
        const selection = document.getSelection();
        selection.removeAllRanges();
        selection.addRange(range);
    }

    function selectionRange() {
        const selection = document.getSelection();
        if (!selection || selection.rangeCount === 0)
            return null;
        const range = selection.getRangeAt(0);
        return inBody(range.commonAncestorContainer) || range.commonAncestorContainer === body() ? range : null;
    }

    function selectionType() {
        if (selectedObject && inBody(selectedObject))
            return 'control';
        return selectionRange() ? 'text' : 'none';
    }

    function elementOf(node) {
        return node && node.nodeType !== 1 ? node.parentElement : node;
    }

    function selectionParent() {
        if (selectionType() === 'control')
            return ref(selectedObject);
        const range = selectionRange();
        return range ? ref(elementOf(range.commonAncestorContainer)) : null;
    }

    function setSelection(number, collapse) {
        if (selectionType() === 'control')
            return false;
        const target = el(number);
        const range = document.createRange();
        range.selectNodeContents(target);
        if (collapse)
            range.collapse(true);
        select(range);
        return true;
    }

    function overlaps(node, range) {
        const inside = document.createRange();
        inside.selectNodeContents(node);
        return (
            inside.compareBoundaryPoints(Range.END_TO_START, range) <= 0 &&
            inside.compareBoundaryPoints(Range.START_TO_END, range) >= 0
        );
    }

    function selectedElements(tag) {
        const range = selectionType() === 'control' ? objectRange() : selectionRange();
        if (!range)
            return [];
        return Array.from(body().getElementsByTagName(tag))
            .filter((node) => overlaps(node, range))
            .map(ref);
    }

    function objectRange() {
        const range = document.createRange();
        range.selectNode(selectedObject);
        return range;
    }

    // ---- Objects and their handles -----------------------------------------------------------
    // Images, tables and boxes are selected as a whole when clicked on themselves (not on a
    // cell's or a box's text); eight handles around them resize them.
    let handleHost = null;
    let handleRoot = null;
    let drag = null;

    // A box is taken as an object only when clicked on its frame (border or padding), so that a
    // click on its text still places the caret.
    function isObject(node, x, y) {
        const tag = tagOf(node);
        if (tag === 'img' || tag === 'table')
            return true;
        if (tag !== 'div')
            return false;
        const box = node.getBoundingClientRect();
        const style = getComputedStyle(node);
        const inset = (side) => parseFloat(style['border' + side + 'Width']) + parseFloat(style['padding' + side]);
        return (
            x < box.left + inset('Left') ||
            x > box.right - inset('Right') ||
            y < box.top + inset('Top') ||
            y > box.bottom - inset('Bottom')
        );
    }

    function ensureHandles() {
        if (handleHost && handleHost.isConnected)
            return;
        handleHost = document.createElement('kv-object-handles');
        handleRoot = handleHost.attachShadow({ mode: 'closed' });
        const style = document.createElement('style');
        style.textContent =
            ':host { all: initial; position: absolute; left: 0; top: 0; z-index: 2147483647; }' +
            '.frame { position: absolute; outline: 1px solid #000; pointer-events: none; }' +
            '.h { position: absolute; width: 7px; height: 7px; background: #fff; border: 1px solid #000;' +
            ' box-sizing: border-box; }';
        handleRoot.appendChild(style);
        const frame = document.createElement('div');
        frame.className = 'frame';
        handleRoot.appendChild(frame);
        for (const corner of ['nw', 'n', 'ne', 'e', 'se', 's', 'sw', 'w']) {
            const handle = document.createElement('div');
            handle.className = 'h';
            handle.dataset.corner = corner;
            handle.style.cursor = corner + '-resize';
            handle.addEventListener('mousedown', startDrag, true);
            handleRoot.appendChild(handle);
        }
        document.documentElement.appendChild(handleHost);
    }

    function placeHandles() {
        if (!selectedObject || !handleRoot)
            return;
        const box = selectedObject.getBoundingClientRect();
        const left = box.left + window.scrollX;
        const top = box.top + window.scrollY;
        const frame = handleRoot.querySelector('.frame');
        Object.assign(frame.style, { left: left + 'px', top: top + 'px', width: box.width + 'px', height: box.height + 'px' });
        for (const handle of handleRoot.querySelectorAll('.h')) {
            const corner = handle.dataset.corner;
            const x = corner.includes('w') ? left : corner.includes('e') ? left + box.width : left + box.width / 2;
            const y = corner.includes('n') ? top : corner.includes('s') ? top + box.height : top + box.height / 2;
            handle.style.left = x - 3 + 'px';
            handle.style.top = y - 3 + 'px';
        }
    }

    function selectObject(node) {
        if (!editing || !inBody(node))
            return false;
        selectedObject = node;
        if (document.activeElement !== body())
            body().focus({ preventScroll: true });
        const range = document.createRange();
        range.selectNode(node);
        select(range);
        ensureHandles();
        handleHost.style.display = '';
        placeHandles();
        pushSelection();
        return true;
    }

    function deselectObject() {
        selectedObject = null;
        if (handleHost)
            handleHost.style.display = 'none';
    }

    function startDrag(event) {
        if (!event.isTrusted || !selectedObject)
            return;
        event.preventDefault();
        event.stopPropagation();
        const box = selectedObject.getBoundingClientRect();
        drag = { corner: event.currentTarget.dataset.corner, x: event.clientX, y: event.clientY, width: box.width, height: box.height };
        beginUnit('Resize');
    }

    function onDragMove(event) {
        if (!drag || !event.isTrusted)
            return;
        event.preventDefault();
        const dx = event.clientX - drag.x;
        const dy = event.clientY - drag.y;
        const horizontal = drag.corner.includes('e') ? dx : drag.corner.includes('w') ? -dx : 0;
        const vertical = drag.corner.includes('s') ? dy : drag.corner.includes('n') ? -dy : 0;
        if (horizontal !== 0 || drag.corner.includes('e') || drag.corner.includes('w'))
            selectedObject.style.width = Math.max(1, Math.round(drag.width + horizontal)) + 'px';
        if (vertical !== 0 || drag.corner.includes('n') || drag.corner.includes('s'))
            selectedObject.style.height = Math.max(1, Math.round(drag.height + vertical)) + 'px';
        placeHandles();
    }

    function onDragEnd(event) {
        if (!drag || !event.isTrusted)
            return;
        drag = null;
        endUnit();
        const node = selectedObject;
        if (!node || !node.id)
            return;
        const box = node.getBoundingClientRect();
        const positioning = getComputedStyle(node).position.toLowerCase() === 'absolute' ? 3 : 1;
        tell('snapRect', node.id, positioning, Math.round(box.left), Math.round(box.top), Math.round(box.right), Math.round(box.bottom));
    }

    // ---- Status -----------------------------------------------------------------------------
    // What QueryStatus answers: per command id the bits supported (1), enabled (2), latched (4).
    const engineCommands = {
        52: ['bold', 'Bold'],
        56: ['italic', 'Italic'],
        63: ['underline', 'Underline'],
        2184: ['insertOrderedList', 'Ordered List'],
        2185: ['insertUnorderedList', 'Unordered List'],
        2186: ['indent', 'Indent'],
        2187: ['outdent', 'Outdent'],
        59: ['justifyLeft', 'Align Left'],
        57: ['justifyCenter', 'Align Center'],
        60: ['justifyRight', 'Align Right'],
        50: ['justifyFull', 'Align Full'],
        2247: ['subscript', 'Subscript'],
        2248: ['superscript', 'Superscript'],
        2230: ['removeFormat', 'Reset Format'],
        2150: ['insertHorizontalRule', 'Horizontal Line'],
        2124: ['createLink', 'Link'],
        2125: ['unlink', 'Remove Link'],
        18: ['fontName', 'Font'],
        2234: ['formatBlock', 'Block Format'],
    };
    let serial = 0;

    function commandStates() {
        const states = {};
        const range = selectionRange();
        const canEdit = editing && (!!range || selectionType() === 'control');
        const enabled = canEdit ? 3 : 1;
        for (const id of Object.keys(engineCommands)) {
            let bits = enabled;
            if (canEdit && range) {
                try {
                    if (document.queryCommandState(engineCommands[id][0]))
                        bits |= 4;
                } catch (e) {
                    // A command the engine cannot tell about is never latched.
                }
            }
            states[id] = bits;
        }
        const hasText = !!range && !range.collapsed;
        states[17] = canEdit ? 3 : 1; // delete
        states[31] = editing ? 3 : 1; // select all
        states[19] = states[55] = states[51] = enabled; // size, colours
        states[2233] = 3; // block format names
        states[43] = 1 | (editing && undoSteps.length > 0 ? 2 : 0);
        states[29] = 1 | (editing && redoSteps.length > 0 ? 2 : 0);
        if (!hasText)
            states[2124] = canEdit && selectionType() === 'control' ? 3 : 1;
        return states;
    }

    // What the toolbar's boxes show for the selection; the program reads it without asking.
    function selectionText() {
        if (!editing || !selectionRange())
            return { style: '', font: '', size: 0 };
        return { style: selectionStyleName(), font: String(document.queryCommandValue('fontName') || ''), size: selectionFontSize() };
    }

    function status() {
        takeRecords(onRecords);
        return { serial: ++serial, states: commandStates(), text: selectionText() };
    }

    let statusQueued = false;
    function pushStatus() {
        if (statusQueued)
            return;
        statusQueued = true;
        setTimeout(() => {
            statusQueued = false;
            tell('statusChanged', status());
        }, 0);
    }

    function pushSelection() {
        tell('selectionChanged', status());
    }

    // ---- Commands ---------------------------------------------------------------------------
    function execEngine(id, value) {
        const [name, title] = engineCommands[id];
        if (!editing)
            return { ok: false };
        if (id === 18 && (value === undefined || value === null)) {
            // The font at the selection.
            return { ok: true, out: String(document.queryCommandValue('fontName') || '') };
        }
        const ok = inUnit(title, () => document.execCommand(name, false, value === undefined || value === null ? null : String(value)));
        return { ok };
    }

    function blockFormatNames() {
        return ['Normal', 'Heading 1', 'Heading 2', 'Heading 3', 'Heading 4', 'Heading 5', 'Heading 6', 'Formatted', 'Address'];
    }

    const blockFormatTags = { normal: 'p', 'heading 1': 'h1', 'heading 2': 'h2', 'heading 3': 'h3', 'heading 4': 'h4', 'heading 5': 'h5', 'heading 6': 'h6', formatted: 'pre', address: 'address' };

    function exec(id, value) {
        const known = { known: true };
        let result;
        switch (id) {
            case 17:
                result = { ok: editing && deleteSelection() };
                break;
            case 31:
                result = { ok: editing && selectAll() };
                break;
            case 43:
                result = { ok: editing && undo() };
                break;
            case 29:
                result = { ok: editing && redo() };
                break;
            case 19:
                result = { ok: editing && inUnit('Font Size', () => applyToSelectedText((font) => font.setAttribute('size', String(value))).length > 0) };
                break;
            case 55:
            case 51:
                result = colorCommand(id, value);
                break;
            case 2233:
                result = { ok: true, out: blockFormatNames() };
                break;
            case 94:
                result = { ok: editing && inUnit('Align', () => removeAlignment()) };
                break;
            case 2234: {
                const tag = blockFormatTags[String(value || '').toLowerCase()];
                result = tag ? execEngine(2234, '<' + tag + '>') : { ok: false };
                break;
            }
            default:
                if (!engineCommands[id])
                    return { known: false, status: status() };
                result = execEngine(id, value);
        }
        return Object.assign(known, result, { status: status() });
    }

    function selectAll() {
        const range = document.createRange();
        range.selectNodeContents(body());
        deselectObject();
        select(range);
        return true;
    }

    function deleteSelection() {
        if (selectionType() === 'control')
            return inUnit('Delete', () => removeSelectedObject());
        const range = selectionRange();
        if (!range)
            return false;
        return inUnit('Delete', () => document.execCommand(range.collapsed ? 'forwardDelete' : 'delete'));
    }

    function removeSelectedObject() {
        const node = selectedObject;
        deselectObject();
        if (!node || !node.parentNode)
            return false;
        const range = document.createRange();
        range.setStartBefore(node);
        range.collapse(true);
        node.parentNode.removeChild(node);
        select(range);
        return true;
    }

    function removeAlignment() {
        const range = selectionRange();
        if (!range)
            return false;
        for (const block of selectedBlocks(range)) {
            block.style.removeProperty('text-align');
            if (block.getAttribute('style') === '')
                block.removeAttribute('style');
            block.removeAttribute('align');
        }
        return true;
    }

    function selectedBlocks(range) {
        const blocks = new Set();
        for (const node of selectedTextNodes(range, false)) {
            let block = node.parentElement;
            while (block && block !== body() && getComputedStyle(block).display.indexOf('inline') === 0)
                block = block.parentElement;
            if (block)
                blocks.add(block);
        }
        return Array.from(blocks);
    }

    // ---- Selected text as font elements -------------------------------------------------------
    // The text nodes the range covers, with the boundary nodes split so that each lies wholly
    // inside or outside the range; a merge field counts as one node. With split false nothing is
    // changed and partly covered nodes count.
    function selectedTextNodes(range, split) {
        if (split) {
            let { startContainer: sc, startOffset: so, endContainer: ec, endOffset: eo } = range;
            if (ec.nodeType === 3 && eo > 0 && eo < ec.length)
                ec.splitText(eo);
            if (sc.nodeType === 3 && so > 0 && so < sc.length) {
                const tail = sc.splitText(so);
                if (ec === sc)
                    ec = tail, eo = tail.length;
                sc = tail;
                so = 0;
            }
            range.setStart(sc, so);
            range.setEnd(ec, eo);
        }
        const nodes = new Set();
        for (const node of textNodesIn(range)) {
            if (!inBody(node) || node.data.trim() === '')
                continue;
            if (node === range.startContainer && range.startOffset >= node.length)
                continue;
            if (node === range.endContainer && range.endOffset === 0)
                continue;
            let unitNode = node;
            for (let up = node.parentElement; up && up !== body(); up = up.parentElement)
                if (isMergeField(up))
                    unitNode = up;
            nodes.add(unitNode);
        }
        return Array.from(nodes);
    }

    // The text nodes from the range's start to its end, found by walking only that stretch of the
    // document: comparing every node of a long document with the range costs the square of its
    // length, as the engine counts a node's place among its siblings for each comparison.
    function textNodesIn(range) {
        const { startContainer: sc, startOffset: so, endContainer: ec, endOffset: eo } = range;
        const isText = (node) => node.nodeType === 3;
        if (range.collapsed && !isText(sc))
            return [];
        const first = isText(sc) ? sc : sc.childNodes[so] || nodeAfter(sc);
        const last = isText(ec) ? ec : eo > 0 ? lastDescendant(ec.childNodes[eo - 1]) : ec;
        const found = [];
        for (let node = first; node; node = node.firstChild || nodeAfter(node)) {
            if (isText(node))
                found.push(node);
            if (node === last)
                break;
        }
        return found;
    }

    // The node that follows the node and all it holds, in document order.
    function nodeAfter(node) {
        for (let current = node; current; current = current.parentNode)
            if (current.nextSibling)
                return current.nextSibling;
        return null;
    }

    function lastDescendant(node) {
        while (node.lastChild)
            node = node.lastChild;
        return node;
    }

    // Wraps every selected text in a font element of its own (reusing one that holds just that
    // text), hands each to the change and selects the changed text again. Returns the fonts.
    function applyToSelectedText(change) {
        const range = selectionRange();
        if (!range || range.collapsed)
            return [];
        const nodes = selectedTextNodes(range, true);
        const fonts = nodes.map((node) => {
            const parent = node.parentElement;
            if (tagOf(parent) === 'font' && parent.childNodes.length === 1)
                return parent;
            const font = document.createElement('font');
            node.parentNode.insertBefore(font, node);
            font.appendChild(node);
            return font;
        });
        fonts.forEach(change);
        if (fonts.length > 0) {
            const after = document.createRange();
            after.setStartBefore(fonts[0]);
            after.setEndAfter(fonts[fonts.length - 1]);
            select(after);
        }
        return fonts;
    }

    function colorCommand(id, value) {
        if (!editing || value === undefined || value === null)
            return { ok: false };
        const color = String(value);
        const title = id === 55 ? 'Text Color' : 'Text Background Color';
        const fonts = inUnit(title, () =>
            applyToSelectedText((font) => {
                if (id === 55)
                    font.setAttribute('color', color);
                else
                    font.style.backgroundColor = color;
            })
        );
        // The fonts the colour went to, so that the program rewrites exactly these.
        return { ok: fonts.length > 0, out: fonts.map(ref) };
    }

    // Moves the parts of an element that lie before and after the range into shallow copies of
    // it beside it, so that the element holds only the covered part.
    function isolate(element, range) {
        const before = document.createRange();
        before.setStart(element, 0);
        before.setEnd(range.startContainer, range.startOffset);
        if (element.contains(range.startContainer) && !before.collapsed) {
            const copy = element.cloneNode(false);
            copy.removeAttribute('id');
            copy.appendChild(before.extractContents());
            element.parentNode.insertBefore(copy, element);
        }
        const after = document.createRange();
        after.setStart(range.endContainer, range.endOffset);
        after.setEnd(element, element.childNodes.length);
        if (element.contains(range.endContainer) && !after.collapsed) {
            const copy = element.cloneNode(false);
            copy.removeAttribute('id');
            copy.appendChild(after.extractContents());
            element.parentNode.insertBefore(copy, element.nextSibling);
        }
    }

    function hasFontSize(node) {
        return (tagOf(node) === 'font' && (node.hasAttribute('size') || node.style.fontSize)) || (tagOf(node) === 'span' && node.style.fontSize);
    }

    function clearFontSize(node) {
        node.style.removeProperty('font-size');
        if (node.getAttribute('style') === '')
            node.removeAttribute('style');
        if (tagOf(node) === 'font')
            node.removeAttribute('size');
        if (node.attributes.length === 0 && (tagOf(node) === 'font' || tagOf(node) === 'span'))
            unwrapNode(node);
    }

    // The selected text gets the size; 0 takes every size from it, splitting the elements around
    // it that carry a size, so that it shows in the page's default size. Text outside the
    // selection keeps its size.
    function setFontSize(size, unit) {
        const range = selectionRange();
        if (!editing || !range || range.collapsed)
            return false;
        return inUnit('Font Size', () => {
            const nodes = selectedTextNodes(range, true);
            if (nodes.length === 0)
                return false;
            const first = nodes[0];
            const last = nodes[nodes.length - 1];
            const covered = () => {
                const r = document.createRange();
                r.setStartBefore(first);
                r.setEndAfter(last);
                return r;
            };
            // Sizes from outside: each sized ancestor is cut down to the selected part.
            const ancestors = new Set();
            for (const node of nodes)
                for (let up = node.parentElement; up && up !== body(); up = up.parentElement)
                    if (hasFontSize(up))
                        ancestors.add(up);
            for (const ancestor of ancestors) {
                isolate(ancestor, covered());
                clearFontSize(ancestor);
            }
            // Sizes inside the selection.
            const inside = covered();
            for (const inner of Array.from(body().querySelectorAll('font,span')))
                if (hasFontSize(inner) && overlapsOnly(inner, inside))
                    clearFontSize(inner);
            select(covered());
            if (size > 0)
                applyToSelectedText((font) => {
                    font.removeAttribute('size');
                    font.style.fontSize = String(size) + String(unit);
                });
            return true;
        });
    }

    function overlapsOnly(node, range) {
        const inside = document.createRange();
        inside.selectNode(node);
        return range.compareBoundaryPoints(Range.START_TO_START, inside) <= 0 && range.compareBoundaryPoints(Range.END_TO_END, inside) >= 0;
    }

    function unwrapNode(node) {
        const parent = node.parentNode;
        if (!parent)
            return false;
        while (node.firstChild)
            parent.insertBefore(node.firstChild, node);
        parent.removeChild(node);
        return true;
    }

    function leadingNumber(text) {
        const match = /^\s*(\d+)/.exec(String(text || ''));
        return match ? parseInt(match[1], 10) : 0;
    }

    function selectionFontSize() {
        const range = selectionRange();
        if (!range)
            return 0;
        const { startContainer: container, startOffset: offset } = range;
        const start = container.nodeType === 1 && offset < container.childNodes.length ? container.childNodes[offset] : container;
        for (let node = elementOf(start); node && node !== document.documentElement; node = node.parentElement) {
            const tag = tagOf(node);
            if ((tag === 'font' || tag === 'span') && node.style.fontSize) {
                const size = leadingNumber(node.style.fontSize);
                if (size)
                    return size;
            }
        }
        return 0;
    }

    // ---- Inserting ----------------------------------------------------------------------------
    // Parses a fragment the program built; scripts and event handler attributes never get in.
    function fragmentOf(html) {
        const template = document.createElement('template');
        template.innerHTML = String(html);
        for (const script of template.content.querySelectorAll('script'))
            script.remove();
        for (const node of template.content.querySelectorAll('*'))
            for (const attribute of Array.from(node.attributes))
                if (/^on/i.test(attribute.name))
                    node.removeAttribute(attribute.name);
        return template.content;
    }

    // Answers the nodes it inserted.
    function insertFragmentAt(range, html) {
        const fragment = fragmentOf(html);
        const nodes = Array.from(fragment.childNodes);
        const last = fragment.lastChild;
        range.insertNode(fragment);
        if (last) {
            const after = document.createRange();
            after.setStartAfter(last);
            after.collapse(true);
            select(after);
        }
        if (editing)
            markMergeFields(true);
        return nodes;
    }

    const blockTags = ['p', 'div', 'table', 'ul', 'ol', 'dl', 'pre', 'blockquote', 'hr', 'address', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6'];

    function blockContainer(node) {
        let depth = 0;
        for (let current = elementOf(node); current; current = current.parentElement, ++depth) {
            if (blockContainerTags.includes(tagOf(current)))
                return { ref: ref(current), depth, node: current };
        }
        return { ref: null, depth, node: null };
    }

    const formattingTags = ['font', 'span', 'b', 'strong', 'i', 'em', 'u', 's', 'strike', 'sub', 'sup', 'small', 'big', 'a'];

    // A half of a split paragraph with no text and nothing but the empty formatting of the text
    // that went to the other half.
    function isEmptyHalf(node) {
        return (
            node.textContent === '' &&
            Array.from(node.querySelectorAll('*')).every((inner) => formattingTags.includes(tagOf(inner)))
        );
    }

    // Puts the fragment at the caret and answers the nodes inserted. Blocks (paragraphs, tables,
    // lists) go between the two halves of the paragraph that holds the caret, which is split with
    // its inline elements; a half left empty goes when asked. A cell or a list item is never
    // split, and outside a paragraph nothing is.
    function insertAtCaret(range, html, asBlocks, dropEmptyHalves) {
        const container = blockContainer(range.startContainer).node;
        const tag = tagOf(container);
        if (!asBlocks || !container || tag === 'td' || tag === 'li' || !inBody(container))
            return insertFragmentAt(range, html);
        const tail = document.createRange();
        tail.setStart(range.startContainer, range.startOffset);
        tail.setEnd(container, container.childNodes.length);
        const second = container.cloneNode(false);
        second.removeAttribute('id');
        second.appendChild(tail.extractContents());
        if (!dropEmptyHalves || !isEmptyHalf(second))
            container.parentNode.insertBefore(second, container.nextSibling);
        const between = document.createRange();
        if (dropEmptyHalves && isEmptyHalf(container)) {
            between.setStartBefore(container);
            container.remove();
        } else {
            between.setStartAfter(container);
        }
        between.collapse(true);
        return insertFragmentAt(between, html);
    }

    function hasBlocks(html) {
        return Array.from(fragmentOf(html).children).some((node) => blockTags.includes(tagOf(node)));
    }

    function insertInUnit(title, html, { asBlocks = false, dropEmptyHalves = false, placeCaret = null } = {}) {
        if (!editing)
            return false;
        return inUnit(title, () => {
            if (selectionType() === 'control')
                removeSelectedObject();
            const range = selectionRange();
            if (!range)
                return false;
            if (!range.collapsed)
                range.deleteContents();
            const nodes = insertAtCaret(range, html, asBlocks, dropEmptyHalves);
            if (placeCaret)
                placeCaret(nodes);
            return true;
        });
    }

    // The contents of the first cell among the nodes are selected, so that typing replaces the
    // filler of a new cell.
    function selectFirstCell(nodes) {
        for (const node of nodes) {
            if (node.nodeType !== 1)
                continue;
            const cell = ['td', 'th'].includes(tagOf(node)) ? node : node.querySelector('td, th');
            if (cell) {
                const range = document.createRange();
                range.selectNodeContents(cell);
                select(range);
                return;
            }
        }
    }

    const insertHtml = (html) => insertInUnit('Insert Html', html, { asBlocks: hasBlocks(html) });
    // A table never sits inside a paragraph, nor beside the empty rest of one; the caret goes into
    // its first cell.
    const insertTable = (html) =>
        insertInUnit('Insert Table', html, { asBlocks: true, dropEmptyHalves: true, placeCaret: selectFirstCell });

    function blockStyleName(node) {
        for (let current = node; current; current = current.parentElement) {
            const tag = tagOf(current);
            if (tag !== 'p' && tag !== 'body')
                continue;
            const className = current.getAttribute('class') || '';
            if (className)
                return className;
            if (tag === 'p')
                return 'normal';
        }
        return '';
    }

    function selectionStyleName() {
        const range = selectionRange();
        if (!range)
            return '';
        const nodes = selectedTextNodes(range, false);
        if (nodes.length === 0)
            nodes.push(range.startContainer);
        let common = '';
        for (const node of nodes) {
            const name = blockStyleName(elementOf(node));
            if (!name || (common && common.toLowerCase() !== name.toLowerCase()))
                return '';
            common = name;
        }
        return common;
    }

    // ---- Element access -----------------------------------------------------------------------
    const operations = {
        status,
        setEditMode: (on, hostKeys) => setEditMode(!!on, !!hostKeys),
        loadHtml,
        exec,
        beginUnit,
        endUnit,
        undoTitles,
        redoTitles,
        body: () => ref(body()),
        byTag: (tag) => Array.from(document.getElementsByTagName(tag)).map(ref),
        byId: (id) => ref(document.getElementById(id)),
        byName: (name) => ref(document.getElementsByName(name)[0] || document.getElementById(name)),
        fromPoint: (x, y) => ref(document.elementFromPoint(x, y)),
        selectionType,
        selectionParent,
        selectedObject: () => (selectionType() === 'control' ? ref(selectedObject) : null),
        selectedElements,
        selectObject: (n) => selectObject(el(n)),
        setSelection,
        insertHtml,
        insertTable,
        blockContainer: (n) => {
            const found = blockContainer(el(n));
            return { ref: found.ref, depth: found.depth };
        },
        ancestorByTag: (n, tag) => {
            for (let current = el(n); current; current = current.parentElement)
                if (tagOf(current) === String(tag).toLowerCase())
                    return ref(current);
            return null;
        },
        blockStyleName: (n) => blockStyleName(el(n)),
        selectionStyleName,
        selectionFontSize,
        setFontSize,
        tagName: (n) => tagOf(el(n)),
        getAttr: (n, name) => el(n).getAttribute(name),
        setAttr: (n, name, value) => (el(n).setAttribute(name, String(value)), true),
        removeAttr: (n, name) => (el(n).removeAttribute(name), true),
        innerHtml: (n) => el(n).innerHTML,
        setInnerHtml: (n, html) => {
            const target = el(n);
            target.textContent = '';
            target.appendChild(fragmentOf(html));
            if (editing)
                markMergeFields(true);
            return true;
        },
        outerHtml: (n) => el(n).outerHTML,
        innerText: (n) => el(n).innerText,
        getStyle: (n, name) => el(n).style.getPropertyValue(name),
        setStyle: (n, name, value) => {
            const target = el(n);
            if (value)
                target.style.setProperty(name, String(value));
            else
                target.style.removeProperty(name);
            if (target.getAttribute('style') === '')
                target.removeAttribute('style');
            return true;
        },
        currentStyle: (n, name) => getComputedStyle(el(n)).getPropertyValue(name),
        parent: (n) => ref(el(n).parentElement),
        children: (n) => Array.from(el(n).children).map(ref),
        unwrap: (n) => unwrapNode(el(n)),
        remove: (n) => {
            const target = el(n);
            if (!target.parentNode)
                return false;
            if (target === selectedObject)
                deselectObject();
            target.parentNode.removeChild(target);
            return true;
        },
        insertAdjacent: (n, where, html) => {
            const target = el(n);
            const fragment = fragmentOf(html);
            const positions = { beforebegin: 'before', afterbegin: 'prepend', beforeend: 'append', afterend: 'after' };
            const method = positions[String(where).toLowerCase()];
            if (!method)
                return false;
            target[method](fragment);
            return true;
        },
    };

    // ---- Listeners ------------------------------------------------------------------------------
    function onSelectionChange(event) {
        if (!event.isTrusted)
            return;
        if (selectedObject) {
            const range = selectionRange();
            if (!range || range.startContainer !== selectedObject.parentNode || range.endOffset - range.startOffset !== 1)
                deselectObject();
        }
        pushSelection();
    }

    function onMouseDown(event) {
        if (!event.isTrusted || (handleHost && event.target === handleHost))
            return;
        typing = null;
        tell('mouseDown', Math.round(event.clientX), Math.round(event.clientY), ref(event.target) || 0);
        if (!editing || event.button !== 0 || drag)
            return;
        if (inBody(event.target) && isObject(event.target, event.clientX, event.clientY)) {
            event.preventDefault();
            selectObject(event.target);
        } else {
            deselectObject();
        }
    }

    // The program's context menu asks which element was under the pointer.
    function onContextMenu(event) {
        if (event.isTrusted)
            tell('contextMenu', Math.round(event.clientX), Math.round(event.clientY), ref(event.target) || 0,
                event.ctrlKey, event.shiftKey);
    }

    function onDoubleClick(event) {
        if (event.isTrusted)
            tell('doubleClick', Math.round(event.clientX), Math.round(event.clientY), ref(event.target) || 0,
                event.ctrlKey);
    }

    function onKeyDown(event) {
        if (!event.isTrusted || !editing)
            return;
        const key = event.key.toLowerCase();
        const ctrl = event.ctrlKey || event.metaKey;
        if (ctrl && !event.altKey && (key === 'z' || key === 'y')) {
            event.preventDefault();
            if (hostUndoKeys)
                return;
            if (key === 'y' || event.shiftKey)
                redo();
            else
                undo();
            return;
        }
        pasteAsText = ctrl && event.shiftKey && key === 'v';
        if (key === 'delete' && !event.shiftKey && !ctrl && selectionType() === 'control') {
            event.preventDefault();
            inUnit('Delete', () => removeSelectedObject());
            return;
        }
        if (key.startsWith('arrow') || key === 'home' || key === 'end' || key === 'pageup' || key === 'pagedown')
            typing = null;
    }

    let pasteAsText = false;

    const inputTitles = [
        [/^insertFromPaste|^insertFromDrop/, 'Paste'],
        [/^deleteByCut/, 'Cut'],
        [/^delete/, 'Delete'],
        [/^insert(Text|ReplacementText|CompositionText|LineBreak|Paragraph)/, 'Typing'],
        [/^format/, 'Format'],
    ];

    function onBeforeInput(event) {
        if (!event.isTrusted || !editing)
            return;
        const type = event.inputType || '';
        if (type === 'historyUndo' || type === 'historyRedo') {
            event.preventDefault();
            if (!hostUndoKeys)
                type === 'historyUndo' ? undo() : redo();
            return;
        }
        takeRecords(onRecords);
        if (type === 'insertText' || type === 'insertCompositionText')
            selectCellFiller();
        const found = inputTitles.find(([pattern]) => pattern.test(type));
        const title = found ? found[1] : 'Edit';
        if (!typing || typing.title !== title)
            typingCaret = caret();
        inputTitle = title;
    }

    // A cell that holds only the space that keeps it open: text typed into it takes the space's
    // place instead of going beside it.
    function selectCellFiller() {
        const range = selectionRange();
        if (!range || !range.collapsed)
            return;
        const cell = elementOf(range.startContainer).closest('td, th');
        const filler = cell && cell.childNodes.length === 1 ? cell.firstChild : null;
        if (!filler || filler.nodeType !== 3 || filler.data !== '\u00a0')
            return;
        const whole = document.createRange();
        whole.selectNodeContents(filler);
        select(whole);
    }

    function onInput(event) {
        if (!event.isTrusted)
            return;
        takeRecords(onRecords);
        inputTitle = '';
        if (selectedObject)
            placeHandles();
    }

    // Foreign HTML never goes in raw: the program pastes the clipboard itself.
    function onPaste(event) {
        if (!event.isTrusted || !editing)
            return;
        event.preventDefault();
        event.stopImmediatePropagation();
        tell('paste', pasteAsText);
        pasteAsText = false;
    }

    function onDrop(event) {
        if (!event.isTrusted || !editing)
            return;
        event.preventDefault();
        event.stopImmediatePropagation();
    }

    document.addEventListener('selectionchange', onSelectionChange, true);
    document.addEventListener('mousedown', onMouseDown, true);
    document.addEventListener('dblclick', onDoubleClick, true);
    document.addEventListener('contextmenu', onContextMenu, true);
    document.addEventListener('keydown', onKeyDown, true);
    document.addEventListener('beforeinput', onBeforeInput, true);
    document.addEventListener('input', onInput, true);
    document.addEventListener('paste', onPaste, true);
    document.addEventListener('drop', onDrop, true);
    document.addEventListener('mousemove', onDragMove, true);
    document.addEventListener('mouseup', onDragEnd, true);
    window.addEventListener('scroll', placeHandles, true);
    window.addEventListener('resize', placeHandles, true);

    window.kvEditing = {
        call(name, args) {
            const operation = operations[name];
            if (!operation)
                return undefined;
            return operation(...args);
        },
        bodyMarkup,
        // The library's other files (editing-*.js) add their operations here, with the few
        // helpers they share with this core.
        extend(addOperations) {
            Object.assign(operations, addOperations({ ref, el, tagOf, inUnit, fragmentOf, select, selectionRange, selectionType, elementOf }));
        },
    };
    connectHost();
})();
