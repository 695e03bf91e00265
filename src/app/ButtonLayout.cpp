#include "app/ButtonLayout.h"

namespace tw {

ButtonLayout buttonLayout(const ButtonInputs& in)
{
  using B = ToolButton;
  ButtonLayout out;
  auto& s = out.shown;
  const Mode m = in.mode;
  s.push_back({B::Base, 0, m == Mode::Base ? "base_on" : "base"});
  s.push_back({B::Area, 1, m == Mode::Area ? "area_on" : "area"});
  s.push_back({B::Prn, 2, m == Mode::Print ? "prn_on" : "prn"});
  s.push_back({B::Edit, 3, m == Mode::Edit ? "edit_on" : "edit"});

  const std::string_view table = in.show_list != 0 ? "table_on" : "table";
  const bool graphOn = m == Mode::Print ? in.print_graph != 0 : in.show_graph != 0;
  const std::string_view graph = graphOn ? "graph_on" : "graph";
  switch (m) {
    case Mode::Base:
      s.push_back({B::Setup, 5, "setup"});
      s.push_back({B::Table, 9, table});
      if (in.activeTrack) {
        out.graphViewShown = in.show_graph != 0;
        s.push_back({B::Graph, 10, graph});
      }
      break;
    case Mode::Edit: {
      const EditMode e = in.edit_mode;
      s.push_back({B::Input, 5, e == EditMode::Input ? "input_on" : "input"});
      s.push_back({B::Track, 6, e == EditMode::Track ? "track_on" : "track"});
      s.push_back({B::WayPoint, 7, e == EditMode::WayPoint ? "flag_on" : "flag"});
      s.push_back({B::Table, 9, table});
      s.push_back({B::Graph, 10, graph});
      out.graphViewShown = in.show_graph != 0;
      if (e == EditMode::Input) s.push_back({B::Back, 12, "back"});
      if (e == EditMode::Track && in.activeHasPoints) {
        s.push_back({B::Back, 12, "back"});
        s.push_back({B::Clear, 13, "clear"});
      }
      break;
    }
    case Mode::Area: s.push_back({B::Setup, 5, "setup"}); break;
    case Mode::Print:
      s.push_back({B::Setup, 5, "setup"});
      s.push_back({B::Pdf, 6, "pdf"});
      s.push_back({B::Print, 7, "print"});
      s.push_back({B::Table, 9, table});
      if (in.activeHasPoints) {
        s.push_back({B::Graph, 10, graph});
        if (in.print_graph != 0) s.push_back({B::Range, 11, in.graph_type == 2 ? "zoom_on" : "zoom"});
      }
      break;
  }
  return out;
}

}  // namespace tw
