#include "model/partset/DefaultFeatureNames.h"

std::vector<OFeatureName> DefaultFeatureNames() {
    // English|German. Numbers 0..18 are the basic contour features; 22..50 the feature
    // types of the contour tools (their sub-kinds).
    return {
        {0, "Area|Fläche"},
        {1, "Min. radius|Min. Radius"},
        {2, "Max. radius|Max. Radius"},
        {3, "Length|Länge"},
        {4, "Height|Höhe"},
        {5, "Centre of gravity Y|Schwerpunkt Y"},
        {6, "Centre of gravity X|Schwerpunkt X"},
        {7, "Moment X|Moment X"},
        {8, "Moment Y|Moment Y"},
        {9, "Area left half|Fläche linke Hälfte"},
        {12, "Edges|Kanten"},
        {18, "Area lower half|Fläche untere Hälfte"},
        {22, "Contour area|Konturfläche"},
        {23, "Contour width|Konturbreite"},
        {25, "Contour height|Konturhöhe"},
        {30, "ROI area|ROI-Fläche"},
        {33, "Strip area|Streifenfläche"},
        {34, "Distance|Abstand"},
        {36, "Vertical distance|Vertikaler Abstand"},
        {38, "Angle|Winkel"},
        {40, "Count|Anzahl"},
        {41, "Multiple distance|Mehrfachabstand"},
        {45, "Multiple angle|Mehrfachwinkel"},
        {46, "Hole area|Lochfläche"},
        {47, "Number of holes|Anzahl Löcher"},
        {49, "External sensor|Externer Sensor"},
        {50, "Math / logic|Mathematik / Logik"},
    };
}
