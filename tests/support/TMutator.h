// A mutating fuzzer for the tests: from a corpus of real inputs it makes inputs that differ by a few
// edits (a byte changed, bytes cut out, a piece of the input's own grammar put in, a stretch copied
// elsewhere), from a fixed seed so that a failure repeats. ZIRT_FUZZ_ROUNDS sets a longer run.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QRandomGenerator>
#include <QtGlobal>

class TMutator {
public:
    // pieces: the tokens of the inputs' grammar worth putting in (quotes, brackets, separators).
    TMutator(quint32 seed, QByteArrayList pieces) : m_random(seed), m_pieces(std::move(pieces)) {}

    // How many inputs a target tries: its own number, or ZIRT_FUZZ_ROUNDS when that is larger.
    static int Rounds(int normal) { return qMax(normal, qEnvironmentVariableIntValue("ZIRT_FUZZ_ROUNDS")); }

    QByteArray Mutate(const QByteArrayList& corpus) {
        QByteArray bytes = corpus.at(int(m_random.bounded(corpus.size())));
        const int edits = 1 + int(m_random.bounded(4));
        for (int e = 0; e < edits; ++e) {
            const int at = bytes.isEmpty() ? 0 : int(m_random.bounded(bytes.size()));
            switch (m_random.bounded(5)) {
                case 0:
                    if (!bytes.isEmpty())
                        bytes[at] = char(m_random.bounded(256));
                    break;
                case 1:
                    bytes.remove(at, 1 + int(m_random.bounded(8)));
                    break;
                case 2:
                    if (!m_pieces.isEmpty())
                        bytes.insert(at, m_pieces.at(int(m_random.bounded(m_pieces.size()))));
                    break;
                case 3:
                    if (!bytes.isEmpty())
                        bytes.insert(
                            at, bytes.mid(int(m_random.bounded(bytes.size())), int(m_random.bounded(40))));
                    break;
                default: {
                    // A stretch of another input of the corpus spliced in.
                    const QByteArray& other = corpus.at(int(m_random.bounded(corpus.size())));
                    if (!other.isEmpty())
                        bytes.insert(
                            at, other.mid(int(m_random.bounded(other.size())), int(m_random.bounded(60))));
                }
            }
        }
        return bytes;
    }

private:
    QRandomGenerator m_random;
    QByteArrayList m_pieces;
};
