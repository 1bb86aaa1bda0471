#pragma once

#include "x2/X2StyleSheet.h"

#include <QString>
#include <memory>
#include <vector>

using X2StyleSheetList = std::vector<std::unique_ptr<CX2StyleSheet>>;

// Reads style sheets and declaration lists. Malformed CSS gives fewer or odd rules, never an error.
class CX2CssParser
{
public:
    // Longest style sheet text read; a longer one adds no rule and fails.
    static constexpr qsizetype MaxStyleSheetLength = 8 * 1024 * 1024;
    // Rules, and declarations over all its rules, that one style sheet text may add.
    static constexpr int MaxRulesPerStyleSheet = 100000;
    static constexpr int MaxDeclarationsPerStyleSheet = 200000;

    virtual ~CX2CssParser() = default;

    // Appends one rule per selector of every block; false only for an over-long text. Rules in
    // the block of an at-rule such as @media are marked as standing in it.
    bool ParseStyleSheet(const QString& css, X2StyleSheetList& rules) const;
    void ParseDeclarations(const QString& text, CX2StyleSheet& rule) const;
    bool ParseSelector(CX2StyleSheet& rule, const QString& selector) const;
    QString StripComments(const QString& text, const QString& open, const QString& close) const;

private:
    struct RuleCounts
    {
        int rules{0};
        int declarations{0};
    };

    // One rule per selector of the list; false once the counts reach their bounds.
    bool AddBlock(const QString& selectors, const QString& block, bool insideAtRule, RuleCounts& counts,
                  X2StyleSheetList& rules) const;
};
