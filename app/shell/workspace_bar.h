#pragma once
// The main frame's data bar: one tab holding a report list of the current
// picture's measurement objects, one row per object with its name and its
// calibrated values. Each object goes to the top, so the list shows the
// last object first.
#include <windows.h>

#include <vector>

#include "cl_object.h"
#include "docking_bar.h"
#include "tab_window.h"
#include "workspace_bar_interface.h"

class CWorkspaceBar : public CDockingBar, public IWorkspaceBar {
public:
    // The current controller keeps the bar in step with its objects.
    void AddMeasurement(const CCLObject& object) override { AddMeasurement(&object); }
    void SetMeasurements(const ObjectList& objects) override;

    // Replaces every row by the objects' rows, in list order.
    void SetMeasurements(std::vector<const CCLObject*> objects);
    // Inserts the object's row at the top; no row for a null object or one
    // that is not a measurement.
    void AddMeasurement(const CCLObject* object);

    HWND GetList() const { return m_list; }
    CTabWindow& GetTabs() { return m_tabs; }

protected:
    int OnCreate() override;

private:
    CTabWindow m_tabs;
    HWND m_list = nullptr;
};
