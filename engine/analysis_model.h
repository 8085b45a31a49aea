#pragma once
// The analysis model: the one store the whole engine works on. The beam data
// file reader fills its structure and load part, the engine routines fill the
// rest (stiffness matrix, displacements, reactions, span end forces), and the
// diagrams and influence lines read it and run the engine on it again.
//
// Every array is indexed from 1 and bounds-checked (see checked_array.h). The
// record is large (about 0.5 MB): the application allocates one instance on
// the heap and passes it by reference to every routine.
//
// Sign convention: forces, loads and displacements are positive upward,
// moments and rotations counter-clockwise. Degree of freedom d of node n is
// equation (n - 1) * DofPerNode + d.

#include <cstdint>
#include <string>

#include "checked_array.h"

namespace kalvoro {

namespace capacity {
inline constexpr long Equations = 400;
inline constexpr long SkylineTerms = 5000;
inline constexpr long Elements = 250;
inline constexpr long Nodes = 180;
inline constexpr long SupportEntries = 25;
inline constexpr long Reactions = 50;
inline constexpr long Materials = 10;
inline constexpr long Sections = 5;
inline constexpr long LoadRows = 400;
inline constexpr long LoadCases = 25;
inline constexpr long VectorLoadCases = 4;
inline constexpr long NodalLoadEntries = 25;
inline constexpr long NodalLoadCases = 3;
inline constexpr long NodesPerElementMax = 6;
inline constexpr long WorkVector = 12;
inline constexpr long MarkedNodes = 400;
}  // namespace capacity

struct AnalysisModel {
    using Int = std::int32_t;

    // Global stiffness matrix, upper triangle in skyline storage: column j holds
    // the terms from its top row down to the diagonal, columns one after the
    // other. DiagPointer[j] is the position of term (j, j); term (i, j), i <= j,
    // is Skyline[DiagPointer[j] - (j - i)]. After ResolveSistema it holds the
    // upper triangular factor U with K = U^T U.
    Array1<double, capacity::SkylineTerms> Skyline{"Skyline"};
    Array1<Int, capacity::Equations> DiagPointer{"DiagPointer"};
    // [equation, load case]: right-hand side, overwritten by the displacements.
    Array2<double, capacity::Equations, capacity::VectorLoadCases> LoadVector{"LoadVector"};
    // [support entry, degree of freedom]
    Array2<double, capacity::Reactions, 3> Reaction{"Reaction"};
    Array1<double, capacity::WorkVector> ElementForce{"ElementForce"};
    Array1<double, capacity::WorkVector> ElementDisp{"ElementDisp"};
    // [node, 1] = X, [node, 2] = Y
    Array2<double, capacity::Nodes, 2> Coord{"Coord"};
    // [material, 1] = E
    Array2<double, capacity::Materials, 6> MaterialProp{"MaterialProp"};
    // [section, 1] = I
    Array2<double, capacity::Sections, 6> SectionProp{"SectionProp"};
    // [support entry, dof]: spring added to the diagonal and, where restrained,
    // the prescribed displacement.
    Array2<double, capacity::SupportEntries, 6> SupportValue{"SupportValue"};
    Array1<Int, capacity::SupportEntries> SupportNode{"SupportNode"};
    // Decimal digits, most significant first, flag dofs 1..DofPerNode as restrained.
    Array1<Int, capacity::SupportEntries> SupportCode{"SupportCode"};
    // [element, k]: node of the element's k-th node, 0 = none.
    Array2<Int, capacity::Elements, capacity::NodesPerElementMax> Incidence{"Incidence"};
    Array1<Int, capacity::Elements> ElementMaterial{"ElementMaterial"};
    Array1<Int, capacity::Elements> ElementSection{"ElementSection"};
    // [entry, dof, load case]
    Array3<double, capacity::NodalLoadEntries, 6, capacity::NodalLoadCases> NodalLoadValue{"NodalLoadValue"};
    // [entry, load case]
    Array2<Int, capacity::NodalLoadEntries, capacity::NodalLoadCases> NodalLoadNode{"NodalLoadNode"};

    Int NodeCount = 0;
    Int ElementCount = 0;
    Int SupportCount = 0;
    Int MaterialCount = 0;
    Int SectionCount = 0;
    Int MaterialPropCount = 0;
    Int DofPerNode = 0;
    Int CoordsPerNode = 0;
    Int NodesPerElement = 0;
    Int EquationCount = 0;
    Int ElementDofCount = 0;
    Int LoadCaseCount = 0;
    Array1<Int, capacity::NodalLoadCases> NodalLoadCount{"NodalLoadCount"};

    // The report being written (results report or influence-line report), as
    // UTF-8 text with CR LF line ends. Whoever writes a report clears it first
    // and stores it afterwards (see data/text_file.h).
    std::string ReportFile;

    Array1<Int, capacity::LoadCases> LoadRowCount{"LoadRowCount"};
    // Per node: number of load rows whose element touches it.
    Array1<Int, capacity::MarkedNodes> NodeLoadMark{"NodeLoadMark"};
    // [row, load case]: element the load row loads.
    Array2<Int, capacity::LoadRows, capacity::LoadCases> LoadRowElement{"LoadRowElement"};
    // [row, k, load case]: k = 1 uniform q, 2 concentrated P, 3 distance d of P.
    Array3<double, capacity::LoadRows, 3, capacity::LoadCases> LoadRowValue{"LoadRowValue"};
    // [node, k]: accumulated equivalent nodal loads, k = 1 force, 2 moment, 3 unused.
    Array2<double, capacity::MarkedNodes, 3> EquivalentNodalLoad{"EquivalentNodalLoad"};
    // Per element, load case 1: start-node shear and moment from the nodal
    // displacements alone (no fixed-end part).
    Array1<double, capacity::Elements> ElementStartShear{"ElementStartShear"};
    Array1<double, capacity::Elements> ElementStartMoment{"ElementStartMoment"};
};

}  // namespace kalvoro
