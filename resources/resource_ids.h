#pragma once
// Resource identifiers shared by the resource scripts and the program (plain defines: windres reads
// this file too).
#define IDR_AAPT_IMAGE 201   /* RCDATA: the badging tool, written as pt.exe */
#define IDR_UNZIP_IMAGE 202  /* RCDATA: UnZip, written as uz.exe */
