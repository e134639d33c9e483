// A program of core code alone: reads and writes a card through the card
// store, normalises an amount and lays out a report, with no window library.
#include "core/app/Crypt.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/editing/Money.h"
#include "core/reports/Report.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const CardStore store(dir.filePath(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet);
    Record card(Schede::TSchedaSet);
    card.setText("NomeSet", QStringLiteral("Galeone"));
    const bool ok = store.append(card) == 1 && store.read(0).text("NomeSet") == QLatin1String("Galeone")
                    && Money::normalise(QStringLiteral("12,5")) == QLatin1String("12,50")
                    && Crypt::Unscramble(Crypt::Scramble(QStringLiteral("PAROLA")))
                           == QLatin1String("PAROLA");
    std::puts(ok ? "core alone: ok" : "core alone: wrong results");
    return ok ? 0 : 1;
}
