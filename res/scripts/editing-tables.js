// Tables of the edited page: the program reads a table's rows and cells, works out a command on
// its own grid of the table and hands the changes back here, where they run as one named unit.
kvEditing.extend(({ ref, el, tagOf, inUnit, fragmentOf, selectionRange, selectionType, elementOf }) => {
    const isCell = (node) => tagOf(node) === 'td' || tagOf(node) === 'th';

    function closest(node, test) {
        for (let current = node; current; current = current.parentElement)
            if (test(current))
                return current;
        return null;
    }

    // The cell and the table around an element: the cell's own table, or the nearest table when
    // the element is in no cell.
    function tableAround(node) {
        const cell = closest(node, isCell);
        const table = closest(cell || node, (e) => tagOf(e) === 'table');
        return { cell: cell && table ? ref(cell) : null, table: table ? ref(table) : null };
    }

    // Width, height and background colour go into the new cell's style, the alignments into its
    // attributes, wherever the source kept them; the id stays with the source.
    function copyCellAttributes(target, source) {
        const name = source.getAttribute('name');
        if (name !== null)
            target.setAttribute('name', name);
        const moves = [
            ['width', 'width'],
            ['height', 'height'],
            ['background-color', 'bgcolor'],
        ];
        for (const [property, attribute] of moves) {
            const value = source.style.getPropertyValue(property) || source.getAttribute(attribute) || '';
            if (value)
                target.style.setProperty(property, /^\d+$/.test(value) ? value + 'px' : value);
        }
        const align = source.style.getPropertyValue('text-align') || source.getAttribute('align') || '';
        if (align)
            target.setAttribute('align', align);
        const valign = source.style.getPropertyValue('vertical-align') || source.getAttribute('valign') || '';
        if (valign)
            target.setAttribute('valign', valign);
    }

    function newCell(source, colSpan, rowSpan) {
        const cell = document.createElement(tagOf(source) || 'td');
        copyCellAttributes(cell, source);
        if (colSpan !== 1)
            cell.colSpan = colSpan;
        if (rowSpan !== 1)
            cell.rowSpan = rowSpan;
        cell.appendChild(fragmentOf('&nbsp;'));
        return cell;
    }

    const place = (row, cell, before) => row.insertBefore(cell, before ? el(before) : null);

    const apply = {
        SetSpans(edit) {
            const cell = el(edit.ref);
            if (edit.colSpan >= 0)
                cell.colSpan = edit.colSpan;
            if (edit.rowSpan >= 0)
                cell.rowSpan = edit.rowSpan;
        },
        DeleteCell: (edit) => el(edit.ref).remove(),
        RemoveRow: (edit) => el(edit.ref).remove(),
        InsertCell: (edit) => place(el(edit.rowRef), newCell(el(edit.sourceRef), edit.colSpan, edit.rowSpan), edit.beforeRef),
        MoveCell(edit) {
            const cell = el(edit.ref);
            place(el(edit.rowRef), cell, edit.beforeRef);
            cell.rowSpan = edit.rowSpan;
        },
        AppendContent(edit) {
            const target = el(edit.ref);
            for (const node of Array.from(el(edit.sourceRef).childNodes))
                target.appendChild(node);
        },
        InsertRowAfter(edit) {
            const row = el(edit.ref);
            const added = document.createElement('tr');
            for (const cell of edit.cells)
                added.appendChild(newCell(el(cell.sourceRef), cell.colSpan, cell.rowSpan));
            row.parentNode.insertBefore(added, row.nextSibling);
        },
    };

    // The border lines of the cells: every cell drawn whole when the cells stand apart, otherwise
    // each shared line once, by the cell's place in the table's markup.
    function setCellBorders(table, border, spacing) {
        Array.from(table.rows).forEach((row, r) => {
            Array.from(row.cells).forEach((cell, i) => {
                for (const side of ['border', 'border-color', 'border-style', 'border-width'])
                    cell.style.removeProperty(side);
                if (border) {
                    if (spacing > 0) {
                        cell.style.setProperty('border', border);
                    } else if (r === 0 && i === 0) {
                        cell.style.setProperty('border', border);
                    } else {
                        cell.style.setProperty('border-bottom', border);
                        cell.style.setProperty('border-right', border);
                        cell.style.setProperty('border-top', r === 0 ? border : 'none');
                        cell.style.setProperty('border-left', r !== 0 && i === 0 ? border : 'none');
                    }
                }
                if (cell.getAttribute('style') === '')
                    cell.removeAttribute('style');
            });
        });
    }

    return {
        tableAround: (n) => tableAround(el(n)),
        tableAtSelection() {
            if (selectionType() === 'control')
                return { cell: null, table: null };
            const range = selectionRange();
            return range ? tableAround(elementOf(range.startContainer)) : { cell: null, table: null };
        },
        // Per row: its number, its row group and per cell its number and spans.
        tableRows(n) {
            const table = el(n);
            const groups = new Map();
            return Array.from(table.rows).map((row) => {
                if (!groups.has(row.parentNode))
                    groups.set(row.parentNode, groups.size);
                return {
                    ref: ref(row),
                    group: groups.get(row.parentNode),
                    cells: Array.from(row.cells).map((cell) => [ref(cell), cell.colSpan, cell.rowSpan]),
                };
            });
        },
        // Runs a command's changes and, when a border is given, draws the cells' borders again.
        tableEdit(title, n, edits, borders) {
            const table = el(n);
            return inUnit(title, () => {
                for (const edit of edits) {
                    if (edit.kind === 'RemoveTable') {
                        table.remove();
                        return true;
                    }
                    apply[edit.kind](edit);
                }
                if (borders)
                    setCellBorders(table, borders.border, borders.spacing);
                return true;
            });
        },
        tableCellBorders(n, border, spacing) {
            setCellBorders(el(n), border, spacing);
            return true;
        },
    };
});
