#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One property of a card, its value decoded (quoted-printable, CHARSET) but still escaped.
struct VCardProperty
{
    QString name;      // upper case, without group
    QStringList types; // upper case: TYPE values and the bare parameters of version 2.1
    bool preferred = false;
    QString value;
};

// One card: its properties in file order.
struct VCard
{
    QString version;
    QList<VCardProperty> properties;

    // A person, not a list, group, organisation or place.
    bool IsContact() const;
    // The first property of the name; null when there is none.
    const VCardProperty* Find(const QString& name) const;
    // The value split into its components at unescaped ";", each unescaped.
    QStringList Components(const VCardProperty& property) const;
    // The value unescaped.
    QString Text(const VCardProperty& property) const;
};

namespace VCardLimits
{
constexpr qsizetype MaxBytes = 64 * 1024 * 1024;
constexpr qsizetype MaxPropertiesPerCard = 4096;
} // namespace VCardLimits

// Reads the cards of vCard 2.1, 3.0 and 4.0 text: folded lines, quoted-printable values with soft
// line breaks, CHARSET parameters, nested cards (skipped). Appends the cards in file order; false
// for data beyond the limits, with nothing appended.
bool ReadVCards(const QByteArray& bytes, QList<VCard>& cards);
