#include "param_choices.h"

#include "param_page_controls.h"

namespace {

int Shown(HWND page, const Choice& choice) {
    return choice.control == Choice::Control::combo ? ComboSelection(page, choice.id)
                                                    : (IsBoxChecked(page, choice.id) ? 1 : 0);
}

void Put(HWND page, const Choice& choice, int value) {
    if (choice.control == Choice::Control::combo) {
        SelectCombo(page, choice.id, value);
    } else {
        CheckBox(page, choice.id, value);
    }
}

}  // namespace

void ChoiceControls::Attach(HWND page, std::vector<Choice> choices) {
    m_page = page;
    m_choices = std::move(choices);
    m_found.clear();
    for (const Choice& choice : m_choices) {
        m_found.push_back(*choice.value);
    }
}

bool ChoiceControls::OnCommand(int id, WORD code) {
    for (const Choice& choice : m_choices) {
        if (choice.id != id) {
            continue;
        }
        const WORD change = choice.control == Choice::Control::combo ? WORD(CBN_SELCHANGE) : WORD(BN_CLICKED);
        if (code != change) {
            return true;
        }
        const int shown = Shown(m_page, choice);
        const int chosen = choice.map ? choice.map(shown) : shown;
        if (chosen != shown) {
            Put(m_page, choice, chosen);
        }
        if (choice.send(chosen) != 0 && choice.revertWhenRefused) {
            Put(m_page, choice, *choice.value);
        } else {
            *choice.value = chosen;
        }
        return true;
    }
    return false;
}

void ChoiceControls::Restore(bool changedOnly) {
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        const Choice& choice = m_choices[i];
        if (changedOnly && *choice.value == m_found[i]) {
            continue;
        }
        if (choice.restore) {
            choice.restore(m_found[i]);
        } else {
            choice.send(m_found[i]);
        }
        *choice.value = m_found[i];
    }
}
