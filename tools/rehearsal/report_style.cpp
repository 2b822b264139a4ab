// The report's style sheet, inline in the page: for the screen, and for
// paper (@media print: each case on its own pages, no colours needed to read
// the marks, every link's target shown).
#include "rehearsal/report_style.h"

namespace rehearsal {

const char* ReportStyle() {
  return R"css(
:root { --pass: #17693a; --fail: #b42318; --ink: #1f2328; --muted: #59636e; --line: #d0d7de;
  --soft: #f6f8fa; --mark-bg: #fff8c5; }
* { box-sizing: border-box; }
body { margin: 0; font: 14px/1.45 system-ui, "Segoe UI", "DejaVu Sans", sans-serif; color: var(--ink);
  background: #fff; }
header.book, main, nav.summary, section.identity, section.signoff { max-width: 1180px; margin: 0 auto;
  padding: 0 20px; }
header.book { padding-top: 18px; }
h1 { font-size: 24px; margin: 0 0 4px; }
h1 small { font-weight: normal; color: var(--muted); }
h2 { font-size: 19px; margin: 0 0 6px; }
h3 { font-size: 15px; margin: 18px 0 6px; }
.facts { color: var(--muted); margin: 0 0 8px; }
.verdict { display: inline-block; font-weight: 600; padding: 4px 12px; border-radius: 6px; margin: 4px 0 14px; }
.verdict.pass { background: #dafbe1; color: var(--pass); }
.verdict.fail { background: #ffebe9; color: var(--fail); }
.badge { display: inline-block; font-size: 12px; font-weight: 700; padding: 1px 8px; border-radius: 10px;
  vertical-align: 2px; letter-spacing: .04em; }
.badge.pass { background: var(--pass); color: #fff; }
.badge.fail { background: var(--fail); color: #fff; }
.badge.skip { background: var(--muted); color: #fff; }
section.identity, section.signoff { margin-top: 12px; margin-bottom: 12px; }
section.identity code { font-size: 12px; word-break: break-all; }
table.signoff { max-width: 640px; }
table.signoff th { width: 12em; }
table.signoff td { border-bottom: 1px solid var(--ink); height: 28px; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: 4px 8px; border-bottom: 1px solid var(--line); }
th { font-size: 12px; text-transform: uppercase; letter-spacing: .04em; color: var(--muted); }
table.summary td.time, table.summary td.num { white-space: nowrap; font-variant-numeric: tabular-nums; }
table.summary tr.fail td { background: #fff5f4; }
table.summary td.why { color: var(--fail); font-size: 13px; }
section.case { border-top: 3px solid var(--line); padding: 18px 0 10px; margin-top: 26px; }
section.case.fail { border-top-color: var(--fail); }
section.case.pass { border-top-color: var(--pass); }
.case h2 .num { color: var(--muted); font-weight: normal; }
.case h2 .time { color: var(--muted); font-weight: normal; font-size: 14px; }
.purpose { margin: 0 0 6px; font-size: 15px; }
.operator { margin: 0 0 6px; color: var(--muted); }
.problem { background: #ffebe9; color: var(--fail); padding: 6px 10px; border-radius: 6px; }
ol.steps { margin: 6px 0 10px; padding-left: 22px; }
ol.steps li { margin: 1px 0; }
ol.steps .cut { color: var(--fail); font-weight: 600; }
ol.steps .expect { color: var(--muted); }
figure.timeline { margin: 8px 0 4px; overflow-x: auto; }
figure.timeline svg { max-width: 100%; height: auto; display: block; }
figcaption { font-size: 12px; color: var(--muted); margin-top: 2px; }
figcaption .key { display: inline-block; width: 10px; height: 10px; margin: 0 3px 0 10px; vertical-align: -1px; }
svg .lane { fill: #fff; }
svg .lane-package, svg .lane-printer { fill: var(--soft); }
svg .lane-title { font: 600 12px system-ui, sans-serif; fill: var(--muted); }
svg .axis { stroke: var(--line); }
svg .grid { stroke: #eaeef2; }
svg .tick { font: 10px system-ui, sans-serif; fill: var(--muted); text-anchor: middle; }
svg .span-process { fill: #dbe9fe; stroke: #6d9eeb; }
svg .span-step { fill: #eef2f6; stroke: #9aa5b1; }
svg .span-call { fill: #e7dffa; stroke: #8c6bd8; }
svg .span-label { font: 11px system-ui, sans-serif; fill: var(--ink); pointer-events: none; }
svg .mark-log { stroke: #8c6bd8; stroke-width: 1.2; }
svg .mark-file { stroke: #0b4f8a; stroke-width: 1; }
svg .file-request { fill: #3b82f6; }
svg .file-status { fill: #cbd5e1; }
svg .file-answer { fill: #f59e0b; }
svg .mark-taken, svg .mark-note { fill: #fff; stroke: #64748b; }
svg .mark-dialog { fill: #10b981; stroke: #047857; }
svg .mark-printer { fill: #475569; }
svg .mark-exit, svg .mark-given, svg .mark-process { fill: #6d9eeb; }
svg .mark-label { font: 9.5px ui-monospace, "DejaVu Sans Mono", monospace; fill: var(--ink); text-anchor: middle; }
svg .power-cut { stroke: var(--fail); stroke-width: 2; stroke-dasharray: 5 3; }
svg .power-cut-label { font: 700 11px system-ui, sans-serif; fill: var(--fail); }
svg .kill { stroke: var(--fail); stroke-width: 2.5; fill: none; }
svg a:hover rect, svg a:hover circle, svg a:hover path { stroke: #000; stroke-width: 2; }
.evidence { display: flex; gap: 26px; align-items: flex-start; }
.evidence .main { flex: 1 1 auto; min-width: 0; }
.evidence aside { flex: 0 0 auto; }
table.marks td.mark { width: 26px; font-size: 16px; font-weight: 700; }
table.marks th:nth-child(3), table.marks th:nth-child(4) { width: 31%; }
table.marks tr.pass td.mark { color: var(--pass); }
table.marks tr.fail td { background: #fff5f4; }
table.marks tr.fail td.mark { color: var(--fail); }
table.marks tr.skip td { color: var(--muted); }
table.marks .line { color: var(--muted); font-size: 12px; white-space: nowrap; }
table.marks pre { margin: 0; white-space: pre-wrap; overflow-wrap: anywhere; font-size: 12.5px; }
table.marks tr.fail td.actual pre { background: var(--mark-bg); }
table.small td { font-size: 13px; padding: 2px 8px; }
ol.dialogs { padding-left: 22px; margin: 4px 0; }
ol.dialogs .answer { color: var(--muted); }
ol.events { list-style: none; padding: 0; margin: 0; font-size: 13px; }
ol.events li { padding: 2px 4px; border-bottom: 1px solid #eef1f4; display: grid;
  grid-template-columns: 68px 66px 1fr; gap: 8px; }
ol.events li:target { background: var(--mark-bg); }
ol.events .t { font-variant-numeric: tabular-nums; color: var(--muted); text-align: right; }
ol.events .lane { font-size: 11px; text-transform: uppercase; letter-spacing: .03em; color: var(--muted); }
ol.events li.power-cut, ol.events li.kill { color: var(--fail); font-weight: 600; }
ol.events li.log { color: var(--muted); font-size: 12px; }
details > summary { cursor: pointer; }
details.file summary { font-family: ui-monospace, "DejaVu Sans Mono", monospace; font-size: 12.5px; }
pre.file { margin: 4px 0 6px; padding: 6px 8px; background: var(--soft); border: 1px solid var(--line);
  border-radius: 4px; font: 12.5px/1.4 ui-monospace, "DejaVu Sans Mono", monospace; white-space: pre-wrap;
  word-break: break-all; }
pre.file .eol { color: #9aa5b1; font-size: 10px; }
.encoding { color: var(--muted); font-size: 11px; }
.receipt { width: 52ch; font: 12.5px/1.35 ui-monospace, "DejaVu Sans Mono", monospace; }
.receipt .slip { background: #fffef8; border: 1px solid #d8d2bf; box-shadow: 0 1px 3px rgba(0,0,0,.12);
  padding: 10px 12px; }
.receipt .slip pre { margin: 0; font: inherit; white-space: pre; }
.receipt .slip + .slip, .receipt .slip + .tear { margin-top: 0; }
.receipt .cut { text-align: center; color: var(--muted); font-size: 11px; margin: 6px 0; letter-spacing: .1em; }
.receipt .tear { text-align: center; color: var(--fail); font-weight: 700; font-family: system-ui, sans-serif;
  font-size: 12px; border-top: 2px dashed var(--fail); padding-top: 2px; margin: 4px 0; }
.receipt .empty { color: var(--muted); font-family: system-ui, sans-serif; }
pre.cardlog { font: 12px/1.35 ui-monospace, "DejaVu Sans Mono", monospace; background: var(--soft);
  padding: 6px 8px; border: 1px solid var(--line); overflow-x: auto; }
.raw ul { columns: 2; font-size: 12.5px; }
.back { font-size: 12px; }
@media (max-width: 900px) { .evidence { flex-direction: column; } }
@media print {
  @page { margin: 14mm 12mm; }
  body { font-size: 10.5pt; }
  header.book, main, nav.summary, section.identity, section.signoff { max-width: none; padding: 0; }
  section.case { break-before: page; border-top-width: 2px; }
  .evidence { display: block; }
  .receipt { break-inside: avoid; margin-top: 10px; }
  table.marks tr, ol.events li, table.summary tr { break-inside: avoid; }
  .back { display: none; }
  a { color: inherit; text-decoration: none; }
  .raw a::after { content: " (" attr(href) ")"; color: var(--muted); }
  .verdict, .badge, table.marks tr.fail td, table.summary tr.fail td { -webkit-print-color-adjust: exact;
    print-color-adjust: exact; }
  figure.timeline { overflow: visible; }
}
)css";
}

} // namespace rehearsal
