<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>9F607182.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.PHONE</class>
  </id>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read>false</read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Call from Dana</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>1</boxtype><priority>2</priority>
    </core>
    <phone>
      <came-to-see>false</came-to-see>
      <please-call>true</please-call>
      <returned-call>false</returned-call>
      <telephoned>true</telephoned>
      <urgent>true</urgent>
      <wants-see>false</wants-see>
      <will-call>false</will-call>
      <phone-number>+44 20 7946 0018</phone-number>
      <caller-name>Dana Whitlock</caller-name>
      <caller-company>Brantford Ltd</caller-company>
      <date-delivered>20240305T101000</date-delivered>
    </phone>
  </props>
</message>
