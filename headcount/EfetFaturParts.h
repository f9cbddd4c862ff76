#pragma once

namespace fai {

class EfetFaturControls;
class EfetFaturFilter;
class EfetFaturSession;
class TfrmPadraoSimples;

// What the headcount window's helpers work on: the screen with its standard commands, its
// own controls, its session and its filter panel.
struct EfetFaturParts {
    TfrmPadraoSimples& screen;
    EfetFaturControls& controls;
    EfetFaturSession& session;
    EfetFaturFilter& filter;
};

}  // namespace fai
