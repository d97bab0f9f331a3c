<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English is the source language, so this catalogue has no entries. It carries no
     language attribute on purpose: with one, lrelease would add a language tag and
     plural rules, and the compiled file would no longer be the bare header. -->
<TS version="2.1" sourcelanguage="en">
</TS>
