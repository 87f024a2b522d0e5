<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read></read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Send the report</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>4</boxtype><priority>3</priority>
    </core>
  </props>
</message>
