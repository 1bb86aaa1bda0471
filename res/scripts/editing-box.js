// The page settings of the layout editor: the link rules of the page's style sheets.
kvEditing.extend(() => ({
    // states: selector, colour, decoration, for each state ("a", "a:visited", "a:hover"). The
    // page shows exactly the settings: an empty colour or decoration takes the rule's away.
    setLinkRules(states) {
        const wanted = new Map();
        for (let i = 0; i + 2 < states.length; i += 3)
            wanted.set(String(states[i]), [String(states[i + 1]), String(states[i + 2])]);
        for (const sheet of Array.from(document.styleSheets)) {
            let rules;
            try {
                rules = sheet.cssRules;
            } catch (error) {
                continue; // a sheet of another origin cannot be read
            }
            for (const rule of Array.from(rules)) {
                const state = rule.selectorText ? wanted.get(rule.selectorText.toLowerCase()) : undefined;
                if (!state)
                    continue;
                rule.style.color = state[0];
                rule.style.textDecoration = state[1];
            }
        }
        return true;
    },
}));
