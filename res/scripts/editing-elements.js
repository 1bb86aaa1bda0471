// Element operations of the layout editor's element dialogs.
kvEditing.extend(({ ref, el, tagOf }) => ({
    // Gives a list the other list tag. Only this element changes: its attributes and its content,
    // nested lists included, move over unchanged. The list that now stands in its place.
    renameList(number, ordered) {
        const list = el(number);
        const tag = ordered ? 'ol' : 'ul';
        if (tagOf(list) === tag || !list.parentNode)
            return ref(list);
        const renamed = document.createElement(tag);
        for (const attribute of Array.from(list.attributes))
            renamed.setAttribute(attribute.name, attribute.value);
        while (list.firstChild)
            renamed.appendChild(list.firstChild);
        list.replaceWith(renamed);
        return ref(renamed);
    },
}));
