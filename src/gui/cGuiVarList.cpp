#include "gui/cGuiVarList.h"

#include <GL/gl.h>

#include <iostream>
#include <sstream>

#include "gui/cGuiSlider.h"
#include "gui/cGuiVec3Slider.h"
#include "platform/cInputState.h"

std::string gui_float_text(float v)
{
    std::ostringstream os;
    os << v;
    return os.str();
}

cGuiVarList::~cGuiVarList()
{
    clear();
}

void cGuiVarList::init()
{
    clear();
    fill[0] = 0.f;
    fill[1] = 0.f;
    fill[2] = 0.f;
    fill[3] = 0.25f;
}

void cGuiVarList::append(iVar* var, iGuiNode* node, bool relayout)
{
    m_rows.emplace_back(var, node);
    carry_grab(var, node);
    if (relayout)
        m_relayout = 1;
}

void cGuiVarList::addFloat(const std::string& name, float* target, float lo, float hi)
{
    auto* s = new cGuiSlider(lo, hi, *target);
    s->setSize(height, SLIDER_HEIGHT);
    append(new cVar<float>(name, target), s, true);
}

void cGuiVarList::addDouble(const std::string& name, double* target, float lo, float hi)
{
    auto* s = new cGuiSlider(lo, hi, float(*target));
    s->setSize(height, SLIDER_HEIGHT);
    append(new cVar<double>(name, target), s, true);
}

void cGuiVarList::addInt(const std::string& name, int* target, float hi)
{
    auto* s = new cGuiSlider(0.f, hi, float(*target));
    s->setSize(height, SLIDER_HEIGHT);
    append(new cVar<int>(name, target), s, true);
}

void cGuiVarList::addVec3(const std::string& name, Vec3<float>* target, float lo, float hi)
{
    auto* s = new cGuiVec3Slider(lo, hi, target->x, target->y, target->z);
    s->setSize(height, SLIDER_HEIGHT);
    append(new cVar<Vec3<float>>(name, target), s, true);
}

void cGuiVarList::addText(const std::string& name, std::string* target)
{
    append(new cVar<std::string>(name, target), new cGuiTxtLabel(), false);
}

void cGuiVarList::clear()
{
    for (auto& row : m_rows) {
        delete row.first;
        delete row.second;
    }
    m_rows.clear();
    m_relayout = 1;
}

void cGuiVarList::dump() const
{
    for (const auto& row : m_rows)
        std::cerr << row.first->getName() << " " << row.first->toString() << std::endl;
}

void cGuiVarList::layout()
{
    m_relayout = 0;
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].second->setPosition(x + 0.2f, height - ROW_HEIGHT * float(i) + 0.02f);
}

void cGuiVarList::sync_values()
{
    for (auto& row : m_rows) {
        iVar* var = row.first;
        if (auto* s = dynamic_cast<cGuiSlider*>(row.second)) {
            if (auto* vi = dynamic_cast<cVar<int>*>(var))
                s->value = float(*static_cast<int*>(vi->getPointer()));
            else if (auto* vd = dynamic_cast<cVar<double>*>(var))
                s->value = float(*static_cast<double*>(vd->getPointer()));
            else if (auto* vf = dynamic_cast<cVar<float>*>(var))
                s->value = *static_cast<float*>(vf->getPointer());
        } else if (auto* s3 = dynamic_cast<cGuiVec3Slider*>(row.second)) {
            if (auto* v3 = dynamic_cast<cVar<Vec3<float>>*>(var)) {
                const auto* v = static_cast<Vec3<float>*>(v3->getPointer());
                s3->sliders[0].value = v->x;
                s3->sliders[1].value = v->y;
                s3->sliders[2].value = v->z;
            }
        }
    }
}

void cGuiVarList::write_back(iVar* var, iGuiNode* node)
{
    if (auto* s = dynamic_cast<cGuiSlider*>(node)) {
        if (auto* vi = dynamic_cast<cVar<int>*>(var)) {
            int v = int(s->value + 0.5f);
            vi->setValue(&v);
        } else if (auto* vd = dynamic_cast<cVar<double>*>(var)) {
            double v = double(s->value);
            vd->setValue(&v);
        } else if (auto* vf = dynamic_cast<cVar<float>*>(var)) {
            vf->setValue(&s->value);
        }
    } else if (auto* s3 = dynamic_cast<cGuiVec3Slider*>(node)) {
        if (auto* v3 = dynamic_cast<cVar<Vec3<float>>*>(var)) {
            Vec3<float> v{s3->sliders[0].value, s3->sliders[1].value, s3->sliders[2].value};
            v3->setValue(&v);
        }
    }
}

int cGuiVarList::buttons_held() const
{
    return (input ? *input : input_state()).button_mask();
}

void cGuiVarList::grab_at(float px, float py)
{
    m_grab = Grab();
    for (auto& row : m_rows)
        row.second->handleEvent(GUI_RELEASE, px, py);
    for (auto& row : m_rows) {
        if (!row.second->hitTest(px, py))
            continue;
        row.second->handleEvent(GUI_GRAB, px, py);
        m_grab.target = row.first->getPointer();
        m_grab.name = row.first->getName();
        if (auto* s3 = dynamic_cast<cGuiVec3Slider*>(row.second))
            for (int k = 0; k < 3; ++k)
                if (s3->sliders[k].grabbed)
                    m_grab.member = k;
        break;
    }
}

void cGuiVarList::carry_grab(iVar* var, iGuiNode* node)
{
    if (!m_grab.target || var->getPointer() != m_grab.target || var->getName() != m_grab.name)
        return;
    if (auto* s = dynamic_cast<cGuiSlider*>(node))
        s->grabbed = 1;
    else if (auto* s3 = dynamic_cast<cGuiVec3Slider*>(node); s3 && m_grab.member >= 0)
        s3->sliders[m_grab.member].grabbed = 1;
}

bool cGuiVarList::handleEvent(int type, float px, float py)
{
    // Rows added since the last draw need their places to be hit.
    if (m_relayout)
        layout();
    const int buttons = buttons_held();
    const bool pressed = (buttons & ~m_lastButtons) != 0;
    m_lastButtons = buttons;
    // With no button held the grabbed node is the one under the pointer (it
    // shows highlighted); a press grabs anew where it happens; while a
    // button stays held the grab stays where the press put it.
    if (!buttons || pressed)
        grab_at(px, py);
    if (type != GUI_DRAG || !buttons)
        return false;
    for (auto& row : m_rows) {
        if (row.second->handleEvent(GUI_DRAG, px, py)) {
            write_back(row.first, row.second);
            return true;
        }
    }
    return false;
}

void cGuiVarList::draw()
{
    if (m_relayout)
        layout();
    sync_values();
    cGuiRectangle::draw();
    for (auto& row : m_rows) {
        iGuiNode* node = row.second;
        float rx = 0.f, ry = 0.f;
        node->getPosition(rx, ry);
        const bool active = node->isActive();
        if (active) {
            glColor4f(1.f, 1.f, 1.f, 0.45f);
            glBegin(GL_QUADS);
            glVertex2f(x, ry);
            glVertex2f(width, ry);
            glVertex2f(width, ry + ROW_HEIGHT);
            glVertex2f(x, ry + ROW_HEIGHT);
            glEnd();
        }
        glColor4f(1.f, 1.f, 1.f, active ? 1.f : 0.85f);
        m_label.drawText(row.first->getName().substr(0, NAME_CHARS), x, ry);
        if (auto* label = dynamic_cast<cGuiTxtLabel*>(node)) {
            label->setText(row.first->toString());
            label->draw();
        } else if (auto* s = dynamic_cast<cGuiSlider*>(node)) {
            m_label.drawText(gui_float_text(s->value), x + 0.15f, ry);
            s->draw();
        } else if (auto* s3 = dynamic_cast<cGuiVec3Slider*>(node)) {
            std::ostringstream os;
            os << Vec3<float>{s3->sliders[0].value, s3->sliders[1].value, s3->sliders[2].value};
            m_label.drawText(os.str(), x + 0.15f, ry);
            s3->draw();
        }
    }
}
