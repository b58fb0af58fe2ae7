#include "model/draw/OPrintableSequence.h"

#include <algorithm>

int OPrintableSequence::iPreparePages(const OPage& page) {
    m_pages.clear();
    int total = 0;
    for (OPrintable* part : m_parts) {
        const int pages = part ? std::max(0, part->iPreparePages(page)) : 0;
        m_pages.push_back(pages);
        total += pages;
    }
    return total;
}

void OPrintableSequence::PaintPage(OPainter& painter, int index, const OPage& page) {
    if (index < 0) return;
    for (size_t i = 0; i < m_parts.size() && i < m_pages.size(); ++i) {
        if (index < m_pages[i]) {
            m_parts[i]->PaintPage(painter, index, page);
            return;
        }
        index -= m_pages[i];
    }
}

void OPrintableSequence::EndPrinting() {
    for (OPrintable* part : m_parts) {
        if (part) part->EndPrinting();
    }
    m_pages.clear();
}
