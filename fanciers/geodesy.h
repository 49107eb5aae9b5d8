#pragma once
// Coordinates and the ellipsoid distance, shared by Vorel and Tarvio.
