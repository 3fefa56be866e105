// Every field of a model as lines "Table[k].Field=value" (arrays from slot 1, blank-separated;
// numbers as text::FormatGeneral writes them), with the status counts, the vector sizes and the
// load and mass totals, so that case files can name what an import must give.
#pragma once

#include "import/ModelTotals.h"
#include "import/S2kImport.h"
#include "model/MaterialLaws.h"
#include "model/NumberText.h"

#include <map>
#include <string>

namespace vandra::testing {

class ModelDump {
public:
    explicit ModelDump(const TModel& m) {
        const StatusCounts c = CountsOf(m);
        Put("Status", List(std::array<int, 8>{0, c.Node, c.Frame, c.Shell, c.Solid, c.Mat, c.Fsec,
                                              c.Wsec}));
        for (const auto& [name, count] :
             {std::pair{"NodeCount", m.NodeCount}, {"FrameCount", m.FrameCount},
              {"ShellCount", m.ShellCount}, {"ShellCount1", m.ShellCount1},
              {"SolidCount", m.SolidCount}, {"MatCount", m.MatCount},
              {"SectionCount", m.SectionCount}, {"AreaSecCount", m.AreaSecCount},
              {"LoadCount", m.LoadCount}, {"DiaphCount", m.DiaphCount},
              {"EqualDofCount", m.EqualDofCount}, {"LoadCaseCount", m.LoadCaseCount},
              {"LengthUnit", m.LengthUnit}})
            Put(name, N(count));
        for (const auto& [name, size] :
             {std::pair{"Nodes", m.Nodes.size()}, {"Frames", m.Frames.size()},
              {"Shells", m.Shells.size()}, {"Solids", m.Solids.size()}, {"Mats", m.Mats.size()},
              {"Sections", m.Sections.size()}, {"AreaSecs", m.AreaSecs.size()},
              {"Loads", m.Loads.size()}, {"Diaphs", m.Diaphs.size()},
              {"LoadCaseNames", m.LoadCaseNames.size()}})
            Put(std::string(name) + "#", N(static_cast<double>(size)));
        for (size_t k = 1; k < m.LoadCaseNames.size(); ++k) {
            Put("LoadCaseNames[" + std::to_string(k) + "]", m.LoadCaseNames[k]);
            Put("TotalZ[" + m.LoadCaseNames[k] + "]", N(TotalZ(m, static_cast<int>(k))));
        }
        Put("TotalMass", N(TotalMass(m)));
        Each(m.Nodes, "Nodes", [&](const TNODE& n) {
            Put(".X", N(n.X)), Put(".Y", N(n.Y)), Put(".Z", N(n.Z));
            Put(".Restraint", List(n.Restraint)), Put(".Mass", List(n.Mass));
            Put(".LinkNode", N(n.LinkNode));
        });
        Each(m.Frames, "Frames", [&](const TFRAME& f) {
            Put(".SecName", std::string(f.SecName)), Put(".SecIdx", N(f.SecIdx));
            Put(".J", N(f.NodeI) + " " + N(f.NodeJ)), Put(".Angle", N(f.Angle));
            Put(".Axis2X", N(f.Axis2X)), Put(".Axis2Y", N(f.Axis2Y)), Put(".Axis2Z", N(f.Axis2Z));
            Put(".Nseg", N(f.Nseg)), Put(".Release", N(f.Release));
        });
        Each(m.Shells, "Shells", [&](const TSHELL& s) {
            Put(".SecName", std::string(s.SecName)), Put(".SecIdx", N(s.SecIdx));
            Put(".J", N(s.N1) + " " + N(s.N2) + " " + N(s.N3) + " " + N(s.N4));
        });
        Each(m.Solids, "Solids", [&](const TSOLID& s) {
            Put(".SecNo", N(s.SecNo)), Put(".J", List(s.N));
        });
        Each(m.Mats, "Mats", [&](const TMAT& t) {
            Put(".Name", t.Name), Put(".MatType", N(t.MatType));
            Put(".E", N(t.E)), Put(".U", N(t.U)), Put(".G", N(t.G));
            for (const MaterialParam& p : MaterialParams())
                Put("." + std::string(p.name), N(t.*p.field));
        });
        Each(m.Sections, "Sections", [&](const TSECTION& s) {
            Put(".Name", s.Name), Put(".Shape", N(s.Shape)), Put(".FrameType", N(s.FrameType));
            Put(".T", List(s.T)), Put(".MatIdx", N(s.MatIdx)), Put(".Color", N(s.Color));
            Put(".Divide", N(s.DivideFX) + " " + N(s.DivideFY));
            Put(".BarNum", N(s.BarNumNX) + " " + N(s.BarNumNY)), Put(".Cover", N(s.Cover));
            Put(".BarTop", N(s.BarTop)), Put(".BarBot", N(s.BarBot));
            Put(".SectionKind", N(s.SectionKind)), Put(".GeoTransf", N(s.GeoTransf));
            Put(".Hinge", N(s.HingeLenI) + " " + N(s.HingeLenJ));
            const TSectionProps p = s.GivenProps.value_or(TSectionProps{});
            Put(".GivenProps", s.GivenProps ? N(p.Area) + " " + N(p.I22) + " " + N(p.I33) + " " +
                                                  N(p.AS2) + " " + N(p.AS3) + " " + N(p.TorsJ)
                                            : "none");
        });
        Each(m.AreaSecs, "AreaSecs", [&](const TAREASEC& a) {
            Put(".Name", a.Name), Put(".Thickness", N(a.Thickness));
            Put(".ShellKind", N(a.ShellKind)), Put(".MatIdx", N(a.MatIdx));
            Put(".Color", N(a.Color)), Put(".NonlinType", N(a.NonlinType));
        });
        Each(m.Loads, "Loads", [&](const TLOAD& l) {
            Put(".Target", N(l.Target)), Put(".Kind", N(l.Kind)), Put(".CaseIdx", N(l.CaseIdx));
            Put(".Dir", N(l.Dir));
            Put(".F", N(l.FX) + " " + N(l.FY) + " " + N(l.FZ) + " " + N(l.MX) + " " + N(l.MY) +
                          " " + N(l.MZ));
        });
        Each(m.Diaphs, "Diaphs", [&](const TDIAPH& d) {
            Put(".Master", N(d.Master)), Put(".SlaveCount", N(d.SlaveCount));
            Put(".DiaNodes", List(d.DiaNodes));
        });
        Each(m.EqualDofs, "EqualDofs", [&](const TEQUALDOF& e) {
            Put(".Tie", N(e.Retained) + " " + N(e.Constrained)), Put(".Dof", List(e.Dof));
        });
    }

    // The value of a field, "<absent>" for a name the model does not have.
    std::string operator[](const std::string& key) const {
        const auto it = fields_.find(key);
        return it == fields_.end() ? "<absent>" : it->second;
    }

private:
    std::map<std::string, std::string> fields_;
    std::string record_;

    static std::string N(double v) { return text::FormatGeneral(v); }
    template <typename Array> static std::string List(const Array& a) {
        std::string s;
        for (size_t k = 1; k < a.size(); ++k)
            s += (k > 1 ? " " : "") + N(a[k]);
        return s;
    }
    void Put(const std::string& key, const std::string& value) {
        fields_[key.starts_with(".") ? record_ + key : key] = value;
    }
    template <typename Record, typename F>
    void Each(const std::vector<Record>& table, const char* name, F&& put) {
        for (size_t k = 1; k < table.size(); ++k) {
            record_ = std::string(name) + "[" + std::to_string(k) + "]";
            put(table[k]);
        }
    }
};

} // namespace vandra::testing
