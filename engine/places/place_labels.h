// SPDX-License-Identifier: MIT
#pragma once
// How places are written for the user where namesakes must be told apart:
// the rows of the place list, and the place box of the generation window.

#include <string>
#include <string_view>

#include "engine/places/place_catalog.h"

namespace cf {

// Whether rows of more than one province bear the (folded) name.
bool IsNamesake(const PlaceCatalog& catalog, std::string_view name);

// The place list's text for a row: its name, with the province beside a
// namesake ("SAN TEODORO (SS)"); a row whose name and province an earlier
// row holds as well also gets the year its code last bore the name, or
// "cessato" for a code known without dates ("BELLAGIO (fino al 2014)").
std::string PlaceListLabel(const PlaceCatalog& catalog, int row);

// The place box's text for a place: its name, with the province in brackets
// for a namesake ("SAN TEODORO (SS)"), so that the box names one place.
std::string PlaceBoxText(const PlaceCatalog& catalog, std::string_view name, std::string_view province);

// The place's own name in a place box text: without a province in brackets
// that is no part of the name.
std::string_view PlaceNameOfBoxText(const PlaceCatalog& catalog, std::string_view text);

}  // namespace cf
