// The printed page, drawn afresh from the stored point tables: either the phase-plane plot
// above the Poincare plot, or the power spectrum with the FFT window's name and the
// Lyapunov exponent. Positions are page twips from the printable area's top-left corner;
// the layout reaches x = 9000 and y = 14650 and needs a portrait page.
#pragma once

#include <string>

#include "platform/outcome.h"
#include "platform/printer.h"

namespace kv {
struct PlotState;
struct SpectrumState;
struct ChaosState;

// False when nothing is stored and no spectrum is shown: no page is made.
bool page_has_content(const PlotState& plots, const SpectrumState& spectrum);

// done: the page was made. refused: nothing is stored and no spectrum is shown, so no
// page is made. failed: the page could not be finished (the reason says why).
using PrintOutcome = Outcome;
// The outcome of a Print with nothing to print.
PrintOutcome nothing_to_print();

// Draws the page (the phase page from the plots' tables, or the spectrum page with its
// window and Lyapunov exponent when FFT_flag is set) on `printer` and ends the document.
PrintOutcome print_page(const PlotState& plots, const SpectrumState& spectrum,
                        const ChaosState& chaos, PrinterSurface& printer);

}  // namespace kv
